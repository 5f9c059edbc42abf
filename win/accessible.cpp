#include "win/accessible.h"

#include <oleacc.h>

#include "win/system_functions.h"

namespace tavrix::win {
namespace {

// The accessibility DLLs load only when a screen reader first asks (win/system_functions.h).
BSTR AllocateText(const wchar_t* text) {
    using Function = decltype(SysAllocString);
    auto* allocate = SystemFunctionOf<Function>(L"oleaut32.dll", "SysAllocString");
    return allocate ? allocate(text) : nullptr;
}

VARIANT Empty() {
    VARIANT empty{};
    empty.vt = VT_EMPTY;
    return empty;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Delegates to the system's object where there is one; the name is always the given one, and so is
// the role where one is given.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(HWND hwnd, IAccessible* standard, std::wstring name, LONG role)
        : hwnd_(hwnd), standard_(standard), name_(std::move(name)), role_(role) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: screen readers use the vtable; only the system's object offers more.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (standard_) return standard_->GetTypeInfoCount(count);
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_ ? standard_->GetTypeInfo(index, lcid, info) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_ ? standard_->GetIDsOfNames(riid, names, count, lcid, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_ ? standard_->Invoke(id, riid, lcid, flags, params, result, exception, argument)
                         : E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        if (!IsSelf(child)) return standard_ ? standard_->get_accName(child, name) : E_INVALIDARG;
        *name = AllocateText(name_.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    // A push button is one whatever the system's object would guess from an owner-drawn BUTTON.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || (!role_ && standard_))
            return standard_ ? standard_->get_accRole(child, role) : E_INVALIDARG;
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = role_ ? role_ : ROLE_SYSTEM_CLIENT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (standard_) return standard_->get_accState(child, state);
        if (!state) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        LONG flags = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == hwnd_) flags |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(hwnd_)) flags |= STATE_SYSTEM_INVISIBLE;
        if (!IsWindowEnabled(hwnd_)) flags |= STATE_SYSTEM_UNAVAILABLE;
        if (SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) flags |= STATE_SYSTEM_PRESSED;
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (standard_) return standard_->accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height) return E_POINTER;
        RECT rect;
        if (!IsSelf(child) || !GetWindowRect(hwnd_, &rect)) return E_INVALIDARG;
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (standard_) return standard_->get_accDefaultAction(child, action);
        if (role_ != ROLE_SYSTEM_PUSHBUTTON) return Nothing(action);
        if (!action) return E_POINTER;
        *action = AllocateText(L"按下");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (standard_) return standard_->accDoDefaultAction(child);
        if (!IsSelf(child) || role_ != ROLE_SYSTEM_PUSHBUTTON) return E_INVALIDARG;
        PostMessageW(hwnd_, BM_CLICK, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (standard_) return standard_->accHitTest(x, y, child);
        if (!child) return E_POINTER;
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        const POINT point{x, y};
        *child = Empty();
        if (!PtInRect(&rect, point)) return S_FALSE;
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (standard_) return standard_->get_accParent(parent);
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (standard_) return standard_->get_accChildCount(count);
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
        if (standard_) return standard_->get_accChild(child, result);
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_ ? standard_->get_accValue(child, value) : Nothing(value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_ ? standard_->get_accDescription(child, text) : Nothing(text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_ ? standard_->get_accHelp(child, help) : Nothing(help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (standard_) return standard_->get_accHelpTopic(file, child, topic);
        if (topic) *topic = 0;
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : Nothing(shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (standard_) return standard_->get_accFocus(child);
        if (!child) return E_POINTER;
        *child = Empty();
        if (GetFocus() != hwnd_) return S_FALSE;
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        if (standard_) return standard_->get_accSelection(children);
        if (!children) return E_POINTER;
        *children = Empty();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_ ? standard_->accSelect(flags, child) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (standard_) return standard_->accNavigate(direction, start, end);
        if (end) *end = Empty();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_ ? standard_->put_accName(child, name) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_ ? standard_->put_accValue(child, value) : E_NOTIMPL;
    }

private:
    ~NamedAccessible() {
        if (standard_) standard_->Release();
    }
    static HRESULT Nothing(BSTR* text) {
        if (!text) return E_POINTER;
        *text = nullptr;
        return S_FALSE;
    }

    HWND hwnd_;
    IAccessible* standard_;
    std::wstring name_;
    LONG role_;
    LONG references_ = 1;
};

}  // namespace

void MarkPoliteLiveRegion(HWND hwnd) noexcept {
    // {c12bcd8e-2a8e-4950-8ae7-3625111d58eb}: UI Automation's LiveSetting property.
    static constexpr GUID kLiveSetting{0xc12bcd8e, 0x2a8e, 0x4950,
                                       {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
    constexpr LONG kPolite = 1;
    StartCom();
    using Create = decltype(CoCreateInstance);
    auto* create = SystemFunctionOf<Create>(L"ole32.dll", "CoCreateInstance");
    IAccPropServices* services = nullptr;
    if (!create || FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                 reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSetting, polite);
    services->Release();
}

LRESULT AnswerAccessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                               LONG role) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    StartCom();
    using Answer = decltype(LresultFromObject);
    using Standard = decltype(CreateStdAccessibleObject);
    auto* answer = SystemFunctionOf<Answer>(L"oleacc.dll", "LresultFromObject");
    auto* makeStandard = SystemFunctionOf<Standard>(L"oleacc.dll", "CreateStdAccessibleObject");
    if (!answer) return 0;
    IAccessible* standard = nullptr;
    if (!makeStandard || FAILED(makeStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))))
        standard = nullptr;
    auto* accessible = new NamedAccessible(hwnd, standard, name, role);
    const LRESULT result = answer(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return result > 0 ? result : 0;
}

}  // namespace tavrix::win
