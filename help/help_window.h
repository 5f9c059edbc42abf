#pragma once
// The help window Form1: six question buttons that each put their answer into the answer box, and
// "退出". It stays above every ordinary window for as long as it exists.

#include "controls/form.h"

namespace tavrix::help {

class Form1 : public controls::Form {
public:
    // The controls, by name. Ids follow the rows from the top: "如何升级" stands above "升级建议".
    enum : int { Command2 = 1, Command1, Command3, Command4, Command5, Command6, Command7, Text1 };

    Form1();

protected:
    void OnLoad() override;
    void OnClick(int control) override;

private:
    void ShowAnswer(const wchar_t* answer);
};

}  // namespace tavrix::help
