#pragma once
// Message boxes answered from a script; every box shown is recorded.

#include "message_boxes.h"

#include <QList>
#include <QString>
#include <functional>

struct ShownBox {
    QString text;
    toolkit::BoxIcon icon;
    toolkit::BoxButtons buttons;
    toolkit::BoxAnswer defaultAnswer;
};

class ScriptedBoxes : public toolkit::MessageBoxes {
public:
    toolkit::BoxAnswer showMessage(const QString &text, toolkit::BoxIcon icon,
                                   toolkit::BoxButtons buttons,
                                   toolkit::BoxAnswer defaultAnswer) override
    {
        shown.append({text, icon, buttons, defaultAnswer});
        if (whileOpen)
            whileOpen();
        if (!answers.isEmpty())
            return answers.takeFirst();
        return defaultAnswer;
    }

    QList<toolkit::BoxAnswer> answers; // taken in order; the default button when empty
    QList<ShownBox> shown;
    std::function<void()> whileOpen; // runs while a box is "open"
};
