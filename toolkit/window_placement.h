#pragma once
// Storing and restoring a main window's top-left corner in twips (widgets part of the toolkit).

#include "settings_store.h"

class QWidget;

namespace toolkit {

int pixelsToTwips(int pixels, double dpi);
int twipsToPixels(int twips, double dpi);

void SaveWindowPosition(QWidget *window, UserSettings &settings);
void RestoreWindowPosition(QWidget *window, UserSettings &settings);
void CenterWindow(QWidget *window);

} // namespace toolkit
