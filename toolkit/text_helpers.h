#pragma once
// Text templates, choices and fields shared by all three programs. No state.

#include <QString>
#include <QStringList>

namespace toolkit {

// Substitutes %10, then %1..%9 (values[0] is x1; missing values are empty), then decodes the
// backslash escapes of the result.
QString FillPlaceholders(const QString &templ, const QStringList &values = {});
QString SubstitutePlaceholders(const QString &templ, const QStringList &values = {});
// \t TAB, \n CR, \l LF, \h double quote (letters case-insensitive); any other escaped
// character stands for itself; a trailing lone backslash is dropped.
QString DecodeEscapes(const QString &text);
// texts[n] for 0 <= n <= 9 (and n within the list), else the empty text.
QString PickText(int n, const QStringList &texts);
// Field n (from 1) of text split at separator; the empty separator means a blank.
QString GetField(const QString &text, int n, const QString &separator);
QString ChooseText(const QString &ifTrue, bool condition, const QString &ifFalse);
QString Quote(const QString &text);

} // namespace toolkit
