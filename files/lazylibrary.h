#pragma once
// A shared library that is opened when one of its functions is first called, not when the
// program starts: the program defines stand-ins under the library's own names, and each looks
// up its namesake once. A start then pays nothing for a library it does not use.

#include <dlfcn.h>

#include <string>

class LazyLibrary {
  public:
    explicit LazyLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_) return;
        const char* cause = dlerror();
        missing_ = std::string(soname) + " fehlt" + (cause ? ": " : "") + (cause ? cause : "");
    }
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // The library's function of that name, typed as the stand-in; null without the library.
    template <typename F>
    F Resolve(F, const char* name) const {
        return handle_ ? reinterpret_cast<F>(dlsym(handle_, name)) : nullptr;
    }
    // Why the library could not be opened, for an error message; empty when it was.
    const char* Missing() const { return missing_.c_str(); }

  private:
    void* handle_;
    std::string missing_;
};
