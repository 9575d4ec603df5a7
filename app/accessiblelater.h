#pragma once
// While the window is built, and again while it is taken down, Qt reports nearly every text,
// name, cursor and visibility that changes to the accessibility framework, and each report
// makes the widget's full accessible interface at once, whether or not a screen reader listens:
// a good part of a millisecond at every start and end for interfaces that nobody asked for.
// Within an AccessibleLater with no screen reader active, those reports get a placeholder
// instead, and the placeholders are dropped when it ends: a screen reader that asks afterwards
// gets each control's own interface, with its name and description, made then. With a screen
// reader already listening nothing changes.

class AccessibleLater {
  public:
    AccessibleLater();
    ~AccessibleLater();
    AccessibleLater(const AccessibleLater&) = delete;
    AccessibleLater& operator=(const AccessibleLater&) = delete;

  private:
    bool deferring_ = false;
};
