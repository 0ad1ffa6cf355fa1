#include "desktop_services.h"

#include "help_links.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace toolkit {

namespace {

QMessageBox::Icon messageIcon(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(BoxAnswer answer)
{
    switch (answer) {
    case BoxAnswer::Ok:
        return QMessageBox::Ok;
    case BoxAnswer::Cancel:
        return QMessageBox::Cancel;
    case BoxAnswer::Yes:
        return QMessageBox::Yes;
    case BoxAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

// The templates end lines with a carriage return alone, which a label does not break at.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

BoxAnswer WidgetMessageBoxes::showMessage(const QString &text, BoxIcon icon, BoxButtons buttons,
                                          BoxAnswer defaultAnswer)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(m_title);
    box.setIcon(messageIcon(icon));
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineFeeds(text));

    // The programs speak German whatever the locale, so the texts are set on each button.
    struct Choice {
        BoxAnswer answer;
        const char *text;
    };
    QList<Choice> choices;
    switch (buttons) {
    case BoxButtons::Ok:
        choices = {{BoxAnswer::Ok, "OK"}};
        break;
    case BoxButtons::OkCancel:
        choices = {{BoxAnswer::Ok, "OK"}, {BoxAnswer::Cancel, "Abbrechen"}};
        break;
    case BoxButtons::YesNo:
        choices = {{BoxAnswer::Yes, "Ja"}, {BoxAnswer::No, "Nein"}};
        break;
    }
    for (const Choice &choice : choices) {
        QPushButton *button = box.addButton(standardButton(choice.answer));
        button->setText(QString::fromUtf8(choice.text));
        if (choice.answer == defaultAnswer)
            box.setDefaultButton(button);
    }

    box.exec();
    for (const Choice &choice : choices) {
        if (box.clickedButton() == box.button(standardButton(choice.answer)))
            return choice.answer;
    }
    // Closed without a button: the answer that gives up.
    return choices.constLast().answer;
}

void DesktopShell::open(const QString &target, int showMode)
{
    // How big the window of the opened program is, is up to that program here.
    Q_UNUSED(showMode);
    const QFileInfo file(target);
    const QUrl url = !target.isEmpty() && file.exists()
                         ? QUrl::fromLocalFile(file.absoluteFilePath())
                         : QUrl::fromUserInput(target);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void ShowMakerBadge(QLabel *logo, QLabel *badge)
{
    if (!logo || !badge)
        return;
    logo->hide();
    const QRect place = logo->geometry();
    badge->setGeometry(place.left(), place.top(), makerBadgeWidth(place.height()), place.height());
    badge->show();
    badge->setToolTip(makerBadgeToolTip());
}

QString BrowseForFolder(QWidget *owner, const QString &title)
{
    const QString chosen = QFileDialog::getExistingDirectory(owner, title);
    if (chosen.isEmpty())
        return QString();
    // cleanPath drops a trailing separator but keeps the root itself.
    return QDir::cleanPath(chosen);
}

} // namespace toolkit
