#include "QtCanvas.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "output/figure_layout.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace {

QColor toQColor(tavrin::Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, QSizeF size, double dpiX, double dpiY)
    : p_(painter), size_(size), sx_(dpiX / 1440.0), sy_(dpiY / 1440.0), fore_(Qt::black), back_(Qt::white) {
  p_.setRenderHint(QPainter::Antialiasing, true);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  font_ = p_.font();
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(kLabelFontTwips * sy_))));
  p_.setFont(font_);
  penWidth_ = kPenTwips * sx_;
  applyPen();
  raster_ = p_.paintEngine() && p_.paintEngine()->type() == QPaintEngine::Raster &&
            p_.worldTransform().type() <= QTransform::TxTranslate;
  dpr_ = p_.device() ? p_.device()->devicePixelRatioF() : 1.0;
}

QtCanvas::~QtCanvas() { flush(); }

void QtCanvas::applyPen() {
  QPen pen(fore_);
  pen.setWidthF(penWidth_);
  pen.setCapStyle(dashed_ ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (dashed_) pen.setStyle(Qt::DashLine);
  p_.setPen(pen);
  p_.setBrush(Qt::NoBrush);
}

void QtCanvas::begin(Pending kind) {
  if (pending_ != kind) flush();
  pending_ = kind;
}

void QtCanvas::flush() {
  switch (pending_) {
    case Pending::None: break;
    case Pending::Polyline:
      if (batch_.size() >= 2) p_.drawPolyline(batch_);
      break;
    case Pending::Points:
      if (!batch_.isEmpty()) p_.drawPoints(batch_);
      break;
    case Pending::Ring: drawRing(); break;
  }
  batch_.clear();
  pending_ = Pending::None;
}

void QtCanvas::drawRing() {
  // Circles of neighbouring radii about one centre read as one ring.
  const double mid = (ringMin_ + ringMax_) / 2;
  const double thick = (ringMax_ - ringMin_) * sx_;
  const QPointF centre(px(ringX_), py(ringY_));
  QPen pen(fore_);
  pen.setWidthF(penWidth_ + thick);
  if (!raster_) {
    p_.setPen(pen);
    p_.drawEllipse(centre, mid * sx_, mid * sy_);
    applyPen();
    return;
  }
  // On a raster device the same ring is drawn once into an image and then
  // copied to every point: thousands of observed points stay fast.
  const QRgb key = fore_.rgba();
  const Sprite* sprite = nullptr;
  for (const Sprite& s : sprites_)
    if (s.colour == key && s.rMin == ringMin_ && s.rMax == ringMax_) sprite = &s;
  if (!sprite) {
    const double half = mid * std::max(sx_, sy_) + (penWidth_ + thick) / 2 + 1;
    const int side = static_cast<int>(std::ceil(2 * half * dpr_));
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr_);
    img.fill(Qt::transparent);
    QPainter sp(&img);
    sp.setRenderHint(QPainter::Antialiasing, true);
    sp.setPen(pen);
    sp.drawEllipse(QPointF(side / dpr_ / 2, side / dpr_ / 2), mid * sx_, mid * sy_);
    sp.end();
    sprites_.push_back(Sprite{key, ringMin_, ringMax_, img});
    sprite = &sprites_.back();
  }
  const double half = sprite->image.width() / dpr_ / 2;
  // Whole device pixels, so the copy needs no resampling.
  const QPointF at(std::round((centre.x() - half) * dpr_) / dpr_, std::round((centre.y() - half) * dpr_) / dpr_);
  p_.drawImage(at, sprite->image);
}

void QtCanvas::setForeground(tavrin::Rgb c) {
  const QColor q = toQColor(c);
  if (q == fore_) return;
  flush();
  fore_ = q;
  applyPen();
}

void QtCanvas::setBackground(tavrin::Rgb c) { back_ = toQColor(c); }

void QtCanvas::clear() {
  flush();
  p_.fillRect(QRectF(QPointF(0, 0), size_), back_);
}

void QtCanvas::point(double x, double y) {
  lastX_ = px(x);
  lastY_ = py(y);
  if (!std::isfinite(lastX_) || !std::isfinite(lastY_)) return;
  const QRectF area(QPointF(-penWidth_, -penWidth_), size_ + QSizeF(2 * penWidth_, 2 * penWidth_));
  if (!area.contains(lastX_, lastY_)) return;
  begin(Pending::Points);
  batch_ << QPointF(lastX_, lastY_);
}

void QtCanvas::drawSegment(double x1, double y1, double x2, double y2) {
  // Far-off coordinates are clipped here rather than handed to the rasteriser.
  const double m = 4 * std::max(size_.width(), size_.height()) + 100;
  const QRectF safe(-m, -m, size_.width() + 2 * m, size_.height() + 2 * m);
  if (!tavrin::clipSegment(x1, y1, x2, y2, safe.left(), safe.top(), safe.right(), safe.bottom())) return;
  p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtCanvas::line(double x1, double y1, double x2, double y2) {
  flush();
  drawSegment(px(x1), py(y1), px(x2), py(y2));
  lastX_ = px(x2);
  lastY_ = py(y2);
}

void QtCanvas::lineTo(double x, double y) {
  const double nx = px(x), ny = py(y);
  const double m = 4 * std::max(size_.width(), size_.height()) + 100;
  auto inside = [&](double a, double b) {
    return std::isfinite(a) && std::isfinite(b) && a > -m && b > -m && a < size_.width() + m && b < size_.height() + m;
  };
  if (inside(lastX_, lastY_) && inside(nx, ny)) {
    begin(Pending::Polyline);
    if (batch_.isEmpty()) batch_ << QPointF(lastX_, lastY_);
    batch_ << QPointF(nx, ny);
  } else {
    flush();
    drawSegment(lastX_, lastY_, nx, ny);
  }
  lastX_ = nx;
  lastY_ = ny;
}

void QtCanvas::circle(double x, double y, double radius) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius) || radius < 0) return;
  const QRectF area(QPointF(-radius * sx_ - penWidth_, -radius * sy_ - penWidth_),
                    size_ + QSizeF(2 * (radius * sx_ + penWidth_), 2 * (radius * sy_ + penWidth_)));
  if (!area.contains(px(x), py(y))) return;
  if (pending_ == Pending::Ring && x == ringX_ && y == ringY_ &&
      (radius == ringMax_ + 1 || radius == ringMin_ - 1 || (radius >= ringMin_ && radius <= ringMax_))) {
    ringMin_ = std::min(ringMin_, radius);
    ringMax_ = std::max(ringMax_, radius);
    return;
  }
  flush();
  pending_ = Pending::Ring;
  ringX_ = x;
  ringY_ = y;
  ringMin_ = ringMax_ = radius;
}

void QtCanvas::text(double x, double y, const std::string& s) {
  flush();
  if (!std::isfinite(x) || !std::isfinite(y) || s.empty()) return;
  const QFontMetricsF fm(font_, p_.device());
  p_.drawText(QPointF(px(x), py(y) + fm.ascent()), QString::fromStdString(s));
}

void QtCanvas::image(double x, double y, double w, double h, const tavrin::RgbImage& img) {
  flush();
  if (img.width <= 0 || img.height <= 0 || img.pixels.size() < static_cast<size_t>(img.width) * img.height) return;
  QImage q(img.width, img.height, QImage::Format_RGB32);
  for (int r = 0; r < img.height; ++r) {
    auto* line = reinterpret_cast<QRgb*>(q.scanLine(r));
    for (int c = 0; c < img.width; ++c) {
      const tavrin::Rgb& v = img.pixels[static_cast<size_t>(r) * img.width + c];
      line[c] = qRgb(v.r, v.g, v.b);
    }
  }
  p_.drawImage(QRectF(px(x), py(y), w * sx_, h * sy_), q);
}

double QtCanvas::width() const { return size_.width() / sx_; }
double QtCanvas::height() const { return size_.height() / sy_; }
double QtCanvas::windowWidth() const { return width() + kWindowChromeWidth; }
double QtCanvas::windowHeight() const { return height() + kWindowChromeHeight; }

double QtCanvas::textWidth(const std::string& s) const {
  return QFontMetricsF(font_, p_.device()).horizontalAdvance(QString::fromStdString(s)) / sx_;
}

double QtCanvas::textHeight() const { return QFontMetricsF(font_, p_.device()).height() / sy_; }

void QtCanvas::setPen(double widthTwips, bool dashed) {
  const double w = widthTwips * sx_;
  if (w == penWidth_ && dashed == dashed_) return;
  flush();
  penWidth_ = w;
  dashed_ = dashed;
  applyPen();
}

void QtCanvas::setFontSize(double twips) {
  const int px = std::max(1, static_cast<int>(std::lround(twips * sy_)));
  if (font_.pixelSize() == px) return;
  flush();
  font_.setPixelSize(px);
  p_.setFont(font_);
}

void QtCanvas::textUp(double x, double y, const std::string& s) {
  flush();
  if (!std::isfinite(x) || !std::isfinite(y) || s.empty()) return;
  const QFontMetricsF fm(font_, p_.device());
  p_.save();
  p_.translate(px(x), py(y));
  p_.rotate(-90);
  p_.drawText(QPointF(0, fm.ascent()), QString::fromStdString(s));
  p_.restore();
}

void QtCanvas::fillRect(double x, double y, double w, double h) {
  flush();
  p_.fillRect(QRectF(px(x), py(y), w * sx_, h * sy_), fore_);
}

void QtCanvas::fillCircle(double x, double y, double radius) {
  flush();
  if (!std::isfinite(x) || !std::isfinite(y) || !(radius > 0)) return;
  p_.setPen(Qt::NoPen);
  p_.setBrush(fore_);
  p_.drawEllipse(QPointF(px(x), py(y)), radius * sx_, radius * sy_);
  applyPen();
}

ImageKind imageKindFor(const QString& path) {
  const QString lower = path.toLower();
  if (lower.endsWith(".svg")) return ImageKind::Svg;
  if (lower.endsWith(".pdf")) return ImageKind::Pdf;
  return ImageKind::Png;
}

QImage renderPlotImage(QSize size, double scale, const PlotDrawer& draw) {
  const QSize pixels(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                     std::max(1, static_cast<int>(std::lround(size.height() * scale))));
  QImage img(pixels, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(scale);
  img.setDotsPerMeterX(static_cast<int>(std::lround(96 * scale / 0.0254)));
  img.setDotsPerMeterY(static_cast<int>(std::lround(96 * scale / 0.0254)));
  img.fill(Qt::white);
  QPainter p(&img);
  {
    QtCanvas c(p, QSizeF(pixels) / scale, 96, 96);
    draw(c);
  }
  p.end();
  return img;
}

void renderPlotOnDevice(QPaintDevice& device, QSize layoutSize, const PlotDrawer& draw) {
  QPainter p(&device);
  const double k = std::min(device.width() / double(layoutSize.width()), device.height() / double(layoutSize.height()));
  p.scale(k, k);
  {
    QtCanvas c(p, QSizeF(layoutSize), 96, 96);
    draw(c);
  }
  p.end();
}

void exportPlotImage(const QString& path, QSize size, double scale, const PlotDrawer& draw) {
  if (size.width() < 1 || size.height() < 1 || !(scale > 0) || scale > 16) tavrin::throwError(tavrin::kErrInvalidFormat);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  switch (imageKindFor(path)) {
    case ImageKind::Png: {
      if (!renderPlotImage(size, scale, draw).save(&buffer, "PNG")) tavrin::throwError(tavrin::kErrDeviceIO);
      break;
    }
    case ImageKind::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setResolution(96);
      svg.setTitle("Tavrin plot");
      renderPlotOnDevice(svg, size, draw);
      break;
    }
    case ImageKind::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(1200);
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96), QPageSize::Point,
                                QString(), QPageSize::ExactMatch));
      pdf.setTitle("Tavrin plot");
      renderPlotOnDevice(pdf, size, draw);
      break;
    }
  }
  buffer.close();
  tavrin::writeFileAtomically(path.toStdString(), bytes.toStdString());
}

void exportFigure(const QString& path, double widthIn, double heightIn, double dpi, const PlotDrawer& draw) {
  if (!(widthIn >= 1 && widthIn <= 40 && heightIn >= 1 && heightIn <= 40) || !(dpi >= 36 && dpi <= 2400))
    tavrin::throwError(tavrin::kErrInvalidFormat);
  // Vectors are laid out at a fine resolution, so fonts and lines keep their
  // sizes to a small fraction of a point.
  constexpr double kVectorDpi = 720;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  auto paint = [&](QPaintDevice& device, QSizeF size, double res) {
    QPainter p(&device);
    {
      QtCanvas c(p, size, res, res);
      draw(c);
    }
    p.end();
  };
  switch (imageKindFor(path)) {
    case ImageKind::Png: {
      const QSize px(static_cast<int>(std::lround(widthIn * dpi)), static_cast<int>(std::lround(heightIn * dpi)));
      if (static_cast<double>(px.width()) * px.height() > 400e6) tavrin::throwError(tavrin::kErrOutOfMemory);
      QImage img(px, QImage::Format_ARGB32_Premultiplied);
      if (img.isNull()) tavrin::throwError(tavrin::kErrOutOfMemory);
      img.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
      img.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
      img.fill(Qt::white);
      paint(img, QSizeF(px), dpi);
      if (!img.save(&buffer, "PNG")) tavrin::throwError(tavrin::kErrDeviceIO);
      break;
    }
    case ImageKind::Svg: {
      const QSize units(static_cast<int>(std::lround(widthIn * kVectorDpi)),
                        static_cast<int>(std::lround(heightIn * kVectorDpi)));
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(units);
      svg.setViewBox(QRect(QPoint(0, 0), units));
      svg.setResolution(static_cast<int>(kVectorDpi));
      svg.setTitle("Tavrin figure");
      paint(svg, QSizeF(units), kVectorDpi);
      break;
    }
    case ImageKind::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(static_cast<int>(kVectorDpi));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setPageSize(QPageSize(QSizeF(widthIn, heightIn), QPageSize::Inch, QString(), QPageSize::ExactMatch));
      pdf.setTitle("Tavrin figure");
      paint(pdf, QSizeF(widthIn * kVectorDpi, heightIn * kVectorDpi), kVectorDpi);
      break;
    }
  }
  buffer.close();
  tavrin::writeFileAtomically(path.toStdString(), bytes.toStdString());
}
