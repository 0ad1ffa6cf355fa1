#include "text_helpers.h"

namespace toolkit {

namespace {

QString valueAt(const QStringList &values, int index)
{
    return index < values.size() ? values.at(index) : QString();
}

} // namespace

QString FillPlaceholders(const QString &templ, const QStringList &values)
{
    // Decoding after the substitution on purpose: callers rely on escapes inside values.
    return DecodeEscapes(SubstitutePlaceholders(templ, values));
}

QString SubstitutePlaceholders(const QString &templ, const QStringList &values)
{
    QString result = templ;
    // %10 first, or "%1" would eat its first two characters.
    result.replace(QStringLiteral("%10"), valueAt(values, 9));
    for (int i = 1; i <= 9; ++i)
        result.replace(QLatin1Char('%') + QString::number(i), valueAt(values, i - 1));
    return result;
}

QString DecodeEscapes(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool afterBackslash = false;
    for (const QChar c : text) {
        if (!afterBackslash) {
            if (c == QLatin1Char('\\'))
                afterBackslash = true;
            else
                result += c;
            continue;
        }
        switch (c.toUpper().unicode()) {
        case 'T':
            result += QChar(9);
            break;
        case 'N':
            result += QChar(13);
            break;
        case 'L':
            result += QChar(10);
            break;
        case 'H':
            result += QChar(34);
            break;
        default:
            result += c;
            break;
        }
        afterBackslash = false;
    }
    return result;
}

QString PickText(int n, const QStringList &texts)
{
    if (n < 0 || n > 9)
        return {};
    return valueAt(texts, n);
}

QString GetField(const QString &text, int n, const QString &separator)
{
    if (n < 1)
        return {};
    const QString sep = separator.isEmpty() ? QStringLiteral(" ") : separator;
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype at = text.indexOf(sep, start);
        if (at < 0)
            return {};
        start = at + sep.size();
    }
    const qsizetype end = text.indexOf(sep, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString ChooseText(const QString &ifTrue, bool condition, const QString &ifFalse)
{
    return condition ? ifTrue : ifFalse;
}

QString Quote(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace toolkit
