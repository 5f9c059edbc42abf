#pragma once
// The help window Form1: six question buttons that each put their answer into the answer box, and
// "退出". It stays above every ordinary window for as long as it exists.

#include "win/form.h"

namespace tavrix::help {

class Form1 : public win::Form {
public:
    // The controls, by name. Ids follow the rows from the top: "如何升级" stands above "升级建议".
    enum : int { Command2 = 1, Command1, Command3, Command4, Command5, Command6, Command7, Text1 };

    Form1();

    // Creates the window and runs the load handler; it is not yet visible.
    void Create();
    // Creates it if need be, centres it on the screen, shows and activates it.
    void Show();

protected:
    void OnCommand(int id, WORD code, HWND control) override;

private:
    void OnLoad();
    void OnCommand1Click();
    void OnCommand2Click();
    void OnCommand3Click();
    void OnCommand4Click();
    void OnCommand5Click();
    void OnCommand6Click();
    void OnCommand7Click();

    struct ClickHandler {
        int id;
        void (Form1::*handler)();
    };
    static const ClickHandler kClickHandlers[];
};

}  // namespace tavrix::help
