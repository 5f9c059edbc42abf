#pragma once
// The main window 界面: the input box whose every change looks the text up in the catalogue, the
// output box, the lookup and panel views, and the commands behind its buttons.

#include "win/form.h"

namespace tavrix {

class 界面 : public win::Form {
public:
    // The controls, by name. Ids follow the stacking order; the labels of guan come last.
    enum : int {
        Text2 = 1, Command11, Command15, Command14, Command13, Command1, Text1, Command6,
        Command2, Command10, Command7, Command8, Command5, Command4, Command16, guan, Label4,
        Label3, sm, Image1, Label1, Label6, Label7, Label8, Label9,
    };

    界面();

    // Opens the window modeless and unowned: the first call creates it and runs the load handler
    // before it is visible; then it is centred, shown and activated.
    void Show();

protected:
    void OnCommand(int id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLoad();
    void OnText1Change();
    void OnCommand1Click();
    void OnCommand2Click();
    void OnCommand4Click();
    void OnCommand5Click();
    void OnCommand6Click();
    void OnCommand7Click();
    void OnCommand8Click();
    void OnCommand10Click();
    void OnCommand11Click();
    void OnCommand13Click();
    void OnCommand14Click();
    void OnCommand15Click();
    void OnCommand16Click();
    void OnLabel9Click();
    void OnImage1MouseDown();
    void FollowMouseUntilReleased();

    struct ClickHandler {
        int id;
        void (界面::*handler)();
    };
    static const ClickHandler kClickHandlers[];
};

}  // namespace tavrix
