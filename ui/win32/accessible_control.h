#pragma once

#include <functional>
#include <string>
#include <windows.h>

namespace zarn::win32 {

// What a screen reader learns of a control beyond what Windows knows of its kind of window.
struct AccessibleTraits
{
    long role; // a ROLE_SYSTEM_ value
    std::wstring name;
    std::wstring description;
    // The name screen readers give `act` below; empty for a control whose own default action,
    // if any, stays.
    std::wstring defaultAction;
};

// Makes `control` answer screen readers with `traits`, and with Windows' own answers for all else
// (its place, state and neighbours). A screen reader's request for the default action, where
// `traits` name one, reaches `act` through the control's message queue, so that the request returns
// at once even when the action opens a message box.
// @throw std::system_error when Windows refuses.
void makeAccessible(HWND control, AccessibleTraits traits, std::function<void()> act);

} // namespace zarn::win32
