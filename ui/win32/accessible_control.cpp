#include "accessible_control.h"

#include "texts.h"

#include <commctrl.h>
#include <memory>
#include <oleacc.h>
#include <system_error>
#include <utility>

namespace zarn::win32 {
namespace {

// Asks a control to carry out its default action. Registered, so that it means the same to every
// kind of control.
UINT defaultActionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"zarn.AccessibleDefaultAction");
    return message;
}

bool isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT copyText(const std::wstring& text, BSTR* copy)
{
    *copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *copy ? S_OK : E_OUTOFMEMORY;
}

// The accessible object of one control: the traits it was given, and the standard object that
// Windows makes for any window for everything else. The IIDs are taken with __uuidof: mingw-w64's
// oleacc import library defines a symbol IID_IAccessible that is not the IID.
class AccessibleControl final : public IAccessible, public IOleWindow
{
public:
    AccessibleControl(HWND control, IAccessible* standard, AccessibleTraits traits)
        : m_control(control), m_standard(standard), m_traits(std::move(traits))
    {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call IAccessible directly; there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

    // IOleWindow, through which WindowFromAccessibleObject finds the control.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        *window = m_control;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: the control's own answers.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!isSelf(child)) {
            return m_standard->get_accRole(child, role);
        }
        role->vt = VT_I4;
        role->lVal = m_traits.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return isSelf(child) ? copyText(m_traits.name, name) : m_standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return isSelf(child) ? copyText(m_traits.description, description)
                             : m_standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return hasOwnAction(child) ? copyText(m_traits.defaultAction, action)
                                   : m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!hasOwnAction(child)) {
            return m_standard->accDoDefaultAction(child);
        }
        return PostMessageW(m_control, defaultActionMessage(), 0, 0) ? S_OK : E_FAIL;
    }

    // IAccessible: Windows' answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        return m_standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return m_standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        return m_standard->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return m_standard->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleControl() { m_standard->Release(); }

    bool hasOwnAction(const VARIANT& child) const
    {
        return isSelf(child) && !m_traits.defaultAction.empty();
    }

    LONG m_references = 1;
    HWND m_control;
    IAccessible* m_standard;
    AccessibleTraits m_traits;
};

// What a control was made accessible with, kept until the control ends.
struct Accessibility
{
    AccessibleTraits traits;
    std::function<void()> act;
};

LRESULT answer(HWND control, WPARAM flags, const AccessibleTraits& traits)
{
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard)))) {
        // Windows answers for the control as it would without zarn's texts.
        return DefSubclassProc(control, WM_GETOBJECT, flags, static_cast<LPARAM>(OBJID_CLIENT));
    }
    auto* object = new AccessibleControl(control, standard, traits);
    // A new object for each request, which the screen reader's reference alone keeps.
    const LRESULT reference =
        LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(object));
    object->Release();
    return reference;
}

LRESULT CALLBACK answerScreenReaders(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data)
{
    auto* accessibility = reinterpret_cast<Accessibility*>(data);
    // The object id is a DWORD: on 64-bit Windows lParam may come sign-extended or not.
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        return answer(control, wParam, accessibility->traits);
    }
    if (message == defaultActionMessage()) {
        // A copy: the action may end the window, and with it what this procedure was given.
        const std::function<void()> act = accessibility->act;
        act();
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &answerScreenReaders, 0);
        delete accessibility;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void makeAccessible(HWND control, AccessibleTraits traits, std::function<void()> act)
{
    auto accessibility =
        std::make_unique<Accessibility>(Accessibility{std::move(traits), std::move(act)});
    if (!SetWindowSubclass(control, &answerScreenReaders, 0,
                           reinterpret_cast<DWORD_PTR>(accessibility.get()))) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                texts::makingControlAccessible);
    }
    // The control's end frees it.
    accessibility.release();
}

} // namespace zarn::win32
