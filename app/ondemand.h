#pragma once
// A dialog of the main window that is made when it is first used rather than when the window
// is: most sessions open few of the dialogs, and every one made at start delays the window.
// It reads like the plain pointer it stands for: -> and the conversion make the dialog if it is
// not there yet; the test for null only asks whether it can be had, and makes nothing.

#include <functional>
#include <utility>

template <typename T>
class OnDemand {
  public:
    // A dialog made already (or none).
    OnDemand& operator=(T* made) {
        made_ = made;
        make_ = nullptr;
        return *this;
    }
    // Makes the dialog the first time it is asked for.
    void SetMaker(std::function<T*()> make) {
        made_ = nullptr;
        make_ = std::move(make);
    }

    T* get() const {
        if (!made_ && make_) made_ = std::exchange(make_, nullptr)();
        return made_;
    }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    explicit operator bool() const { return made_ || make_; }
    // The dialog if it was made, without making it.
    T* Made() const { return made_; }

  private:
    mutable T* made_ = nullptr;
    mutable std::function<T*()> make_;
};
