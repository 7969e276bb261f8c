#pragma once
// A Canvas that records every primitive with the colour it was drawn in, so
// tests can count and place what a plot drew, or compare its whole log.

#include <charconv>
#include <string>
#include <vector>

#include "output/canvas.h"

namespace tavrin::test {

struct Op {
  enum Kind { Point, Line, LineTo, Circle, Text, Clear, Image, TextUp, Fill, Disc } kind;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // LineTo: from (x1, y1) to (x2, y2); Circle: radius in x2
  Rgb colour;
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(double w = 12000, double h = 9000) : w_(w), h_(h) {}

  std::vector<Op> ops;
  Rgb fore, back;

  void setForeground(Rgb c) override { fore = c; }
  void setBackground(Rgb c) override { back = c; }
  void clear() override { ops = {{Op::Clear, 0, 0, 0, 0, back, {}}}; }
  void point(double x, double y) override { add(Op::Point, x, y, 0, 0), lx_ = x, ly_ = y; }
  void line(double x1, double y1, double x2, double y2) override { add(Op::Line, x1, y1, x2, y2), lx_ = x2, ly_ = y2; }
  void lineTo(double x, double y) override { add(Op::LineTo, lx_, ly_, x, y), lx_ = x, ly_ = y; }
  void circle(double x, double y, double r) override { add(Op::Circle, x, y, r, 0); }
  void text(double x, double y, const std::string& s) override { add(Op::Text, x, y, 0, 0, s); }
  void image(double x, double y, double w, double h, const RgbImage&) override { add(Op::Image, x, y, w, h); }
  void textUp(double x, double y, const std::string& s) override { add(Op::TextUp, x, y, 0, 0, s); }
  void fillRect(double x, double y, double w, double h) override { add(Op::Fill, x, y, w, h); }
  void fillCircle(double x, double y, double r) override { add(Op::Disc, x, y, r, 0); }
  double width() const override { return w_; }
  double height() const override { return h_; }
  // The window's frame and menu around the drawing area.
  double windowWidth() const override { return w_ + 120; }
  double windowHeight() const override { return h_ + 750; }
  double textWidth(const std::string& s) const override { return 90.0 * static_cast<double>(s.size()); }
  double textHeight() const override { return 195; }

  std::vector<Op> of(Op::Kind k) const {
    std::vector<Op> out;
    for (const Op& o : ops)
      if (o.kind == k) out.push_back(o);
    return out;
  }
  const Op* textOp(const std::string& s) const {
    for (const Op& o : ops)
      if ((o.kind == Op::Text || o.kind == Op::TextUp) && o.text == s) return &o;
    return nullptr;
  }
  // Every primitive, one a line, numbers in their shortest exact form, for golden files.
  std::string log() const {
    static const char* const kNames[] = {"point", "line", "lineTo", "circle", "text", "clear", "image", "textUp", "fill", "disc"};
    std::string s;
    for (const Op& o : ops) {
      s += kNames[o.kind] + (" " + num(o.x1)) + " " + num(o.y1) + " " + num(o.x2) + " " + num(o.y2) + " " +
           std::to_string(o.colour.r) + "," + std::to_string(o.colour.g) + "," + std::to_string(o.colour.b);
      s += (o.text.empty() ? "" : " '" + o.text + "'") + std::string("\n");
    }
    return s;
  }
  static std::string num(double x) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
  }

 private:
  void add(Op::Kind k, double x1, double y1, double x2, double y2, const std::string& s = {}) {
    ops.push_back({k, x1, y1, x2, y2, fore, s});
  }
  double w_, h_;
  double lx_ = 0, ly_ = 0;
};

}  // namespace tavrin::test
