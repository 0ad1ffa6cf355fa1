#pragma once
// The modal message boxes of a program, as the logic sees them. Each program shows them with its
// own title; tests answer them from a script.

#include <QString>

namespace toolkit {

enum class BoxIcon { None, Information, Question, Warning, Error };
enum class BoxButtons { Ok, OkCancel, YesNo };
enum class BoxAnswer { Ok, Cancel, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // defaultAnswer is the preselected button.
    virtual BoxAnswer showMessage(const QString &text, BoxIcon icon, BoxButtons buttons,
                                  BoxAnswer defaultAnswer) = 0;

    BoxAnswer inform(const QString &text, BoxIcon icon = BoxIcon::Information)
    {
        return showMessage(text, icon, BoxButtons::Ok, BoxAnswer::Ok);
    }
};

// Opening a file or web address with the program the desktop associates with it.
class Shell {
public:
    virtual ~Shell() = default;
    // showMode 1 normal, 3 maximised (a hint only here); 0 means 1.
    virtual void open(const QString &target, int showMode) = 0;
};

} // namespace toolkit
