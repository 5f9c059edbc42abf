#include "win/accessible.h"

#include <oleacc.h>

#include "win/system_functions.h"

namespace tavrix::win {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object of the window under another name, and another role where one is given;
// everything else is the system object's own.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* standard, std::wstring name, LONG role)
        : standard_(standard), name_(std::move(name)), role_(role) {}

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

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argument);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        // The accessibility DLLs load only when a screen reader first asks (system_functions.h).
        auto allocate = SystemFunctionOf<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
        *name = allocate ? allocate(name_.c_str()) : nullptr;
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    // A push button is one whatever the system's object would guess from an owner-drawn BUTTON.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !role_) return standard_->get_accRole(child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
        return standard_->get_accChild(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { standard_->Release(); }

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
    auto create = SystemFunctionOf<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
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
    auto answer = SystemFunctionOf<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    auto makeStandard =
        SystemFunctionOf<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    IAccessible* standard = nullptr;
    if (!answer || !makeStandard ||
        FAILED(makeStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return 0;
    auto* accessible = new NamedAccessible(standard, name, role);
    const LRESULT result = answer(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return result > 0 ? result : 0;
}

}  // namespace tavrix::win
