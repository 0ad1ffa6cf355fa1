#pragma once
// The information dialog that all three programs show from their "&Info" command.

#include "message_boxes.h"
#include "product.h"

#include <QDate>
#include <QDialog>
#include <QSize>
#include <QString>

class QLabel;

// Name, version and description: 'Corvix (V1.0) – Verbindet Ihren Heim-Web-Server mit dem
// Internet'.
QString aboutProductLine(const toolkit::Product &p);
// The maker's notice with the year of the given day.
QString aboutNoticeLine(const QDate &today);
// Product line, two CRs, notice line, two CRs, a sentence about the maker's other tools.
QString aboutBodyText(const toolkit::Product &p, const QDate &today);
// True on a screen of at most 640 x 480 pixels (either side), where the dialog goes to the
// screen's top-left corner instead of its centre.
bool aboutDialogAtScreenCorner(QSize screenPixels);

class InfoFormCommercial : public QDialog {
    Q_OBJECT
public:
    // The shell must outlive the dialog; today gives the year of the notice line.
    InfoFormCommercial(const toolkit::Product &p, toolkit::Shell &shell, const QDate &today,
                       QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeOnScreen();

    toolkit::Shell &m_shell;
    QLabel *m_logo = nullptr;
    bool m_placedWithFrame = false;
};

// Shows the dialog without blocking the program's window. While it is open a further call
// brings the same dialog forward; once closed (which deletes it) the next call builds it anew,
// so the year is taken again. Returns the dialog shown.
InfoFormCommercial *ShowAboutDialog(const toolkit::Product &p, toolkit::Shell &shell,
                                    QWidget *parent = nullptr);
