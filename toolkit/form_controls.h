#pragma once
// Plain models of the controls the logic reads and changes. Setting a value that differs from
// the current one raises the control's change handling, as a click or an edit would.

#include <QString>
#include <QStringList>
#include <functional>

namespace toolkit {

class CheckBox {
public:
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);

    QString tag;                       // free text the logic may keep on the box
    std::function<void()> onClick;     // runs after every change of the checked state
    std::function<void()> onViewChange; // lets a window follow the state; runs before onClick

private:
    bool m_checked = false;
};

class TextBox {
public:
    QString text() const { return m_text; }
    void setText(const QString &text);

    std::function<void()> onChange;
    std::function<void()> onViewChange;

private:
    QString m_text;
};

// A group of option buttons of which exactly one is selected.
class OptionGroup {
public:
    explicit OptionGroup(int count = 2) : m_count(count) {}
    int selected() const { return m_selected; }
    void select(int index);

    std::function<void(int index)> onClick;
    std::function<void()> onViewChange;

private:
    int m_count;
    int m_selected = 0;
};

class ListBox {
public:
    QStringList items;
    int selected = -1;
    QString selectedText() const
    {
        return selected >= 0 && selected < items.size() ? items.at(selected) : QString();
    }
};

} // namespace toolkit
