#include "PrintWindow.h"

#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

void printWindowImage(QWidget* window) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(window->windowTitle());
  QPrintDialog dialog(&printer, window);
  if (dialog.exec() != QDialog::Accepted) return;
  const QPixmap image = window->grab();
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  const double printerPerScreen = double(printer.resolution()) / window->logicalDpiX();
  QSizeF size = QSizeF(image.size()) / image.devicePixelRatio() * printerPerScreen;
  if (size.width() > page.width() || size.height() > page.height()) size.scale(QSizeF(page.size()), Qt::KeepAspectRatio);
  painter.drawPixmap(QRectF(QPointF(page.topLeft()), size), image, QRectF(image.rect()));
}
