#pragma once
// Widget implementations of the toolkit's small interfaces.

#include "message_boxes.h"

#include <QString>

class QWidget;
class QLabel;

namespace toolkit {

// QMessageBox with the program's title and German button texts.
class WidgetMessageBoxes : public MessageBoxes {
public:
    WidgetMessageBoxes(QWidget *parent, const QString &title) : m_parent(parent), m_title(title) {}
    BoxAnswer showMessage(const QString &text, BoxIcon icon, BoxButtons buttons,
                          BoxAnswer defaultAnswer) override;

private:
    QWidget *m_parent;
    QString m_title;
};

// QDesktopServices::openUrl for files and web addresses.
class DesktopShell : public Shell {
public:
    void open(const QString &target, int showMode) override;
};

// Hides the logo picture and puts the badge in its place, same top, left and height.
void ShowMakerBadge(QLabel *logo, QLabel *badge);
// The folder dialog; empty when cancelled.
QString BrowseForFolder(QWidget *owner, const QString &title);

} // namespace toolkit
