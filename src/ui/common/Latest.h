#pragma once

#include <QPointer>

// The window of class T created last, as other windows name it ("the Parts window"). It turns
// null when that window is destroyed, so nobody reads a closed window; a window that needs
// the one that opened it keeps its own QPointer instead.
template<class T>
class Latest
{
public:
    static T* get() { return s_window.data(); }
    static void set(T* window) { s_window = window; }

private:
    static inline QPointer<T> s_window;
};
