#pragma once
// The main window 界面: the input box whose every change looks its text up in the catalogue, the
// output box, the lookup and panel views, and the commands behind its buttons.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "controls/form.h"

namespace tavrix {

class 界面 : public controls::Form {
public:
    // The controls, by name. Ids follow the stacking order; the labels of guan come last.
    enum : int {
        Text2 = 1, Command11, Command15, Command14, Command13, Command1, Text1, Command6,
        Command2, Command10, Command7, Command8, Command5, Command4, Command16, guan, Label4,
        Label3, sm, Image1, Label1, Label6, Label7, Label8, Label9,
    };

    // The command line is read when the window loads: an argument that names a file or an
    // extension fills the input box.
    explicit 界面(std::wstring_view commandLine = {});

protected:
    void OnLoad() override;
    void OnClick(int control) override;
    void OnMouseDown(int control) override;
    void OnTextChanged(int control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LookUpInput();
    void OnDropFiles(HDROP drop);
    bool HandOver(std::u16string_view path, std::u16string_view extension, bool isFile);
    void PutExtension(std::u16string_view extension, std::wstring_view finding = {});
    void ShowPanelView();
    void ShowLookupView();
    void ShowAboutPanel();
    void ShowInstructions();
    void KeepOnTop();
    void ReleaseFromTop();
    void ShowNotShownHint();
    void OpenBlogPage();
    void OpenLinkedSite();
    void DragWindow();
    void FollowMouse();

    std::wstring_view commandLine_;
    // What the content of a file being handed over tells, for the one lookup its extension makes.
    std::wstring finding_;
    POINT dragFrom_{};  // where the pointer was, while a drag by another button than the left goes on
};

}  // namespace tavrix
