#pragma once
// The Print item of the editor, result and main windows: an image of the
// window on the printer.
class QWidget;

// Asks for the printer, then prints the window as large as it is on the
// screen, or smaller to fit the page.
void printWindowImage(QWidget* window);
