#include "form_controls.h"

namespace toolkit {

void CheckBox::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    if (onViewChange)
        onViewChange();
    if (onClick)
        onClick();
}

void TextBox::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (onViewChange)
        onViewChange();
    if (onChange)
        onChange();
}

void OptionGroup::select(int index)
{
    if (index < 0 || index >= m_count || index == m_selected)
        return;
    m_selected = index;
    if (onViewChange)
        onViewChange();
    if (onClick)
        onClick(index);
}

} // namespace toolkit
