#include "link/lpxadapter.h"
