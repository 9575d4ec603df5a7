#pragma once
// Comparing a written device with what it gives back: which cells of the write plan differ, and
// how the user is told, setting by setting.

#include <QStringList>
#include <vector>

#include "config/image.h"

// The cells that the plan sent and that the read-back image does not hold with the written
// value (a cell that did not come back counts as differing). The radio ID code cells are left
// out: the read job that was started for the written code proves them.
std::vector<int> DifferingCells(const ConfigImage& written, const ConfigImage& read,
                                const std::vector<WriteBlock>& plan);

// One line per setting that differs, "label: geschrieben X, gelesen Y", with the values as the
// device holds them (the view's entry rules would hide some differences), "nicht gelesen" for a
// cell that did not come back; a differing cell that no setting holds is named by its address.
QStringList DescribeDifferences(const ConfigImage& written, const ConfigImage& read,
                                const std::vector<int>& cells);
