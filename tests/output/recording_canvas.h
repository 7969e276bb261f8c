#pragma once
// A Canvas that records every primitive with the colour it was drawn in, so
// tests can count and place what a plot drew.

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
  RecordingCanvas(double w = 12000, double h = 9000, double chromeW = 120, double chromeH = 750)
      : w_(w), h_(h), cw_(chromeW), ch_(chromeH) {}

  std::vector<Op> ops;
  Rgb fore, back;

  void setForeground(Rgb c) override { fore = c; }
  void setBackground(Rgb c) override { back = c; }
  void clear() override {
    ops.clear();
    ops.push_back({Op::Clear, 0, 0, 0, 0, back, {}});
  }
  void point(double x, double y) override {
    ops.push_back({Op::Point, x, y, 0, 0, fore, {}});
    lx_ = x;
    ly_ = y;
  }
  void line(double x1, double y1, double x2, double y2) override {
    ops.push_back({Op::Line, x1, y1, x2, y2, fore, {}});
    lx_ = x2;
    ly_ = y2;
  }
  void lineTo(double x, double y) override {
    ops.push_back({Op::LineTo, lx_, ly_, x, y, fore, {}});
    lx_ = x;
    ly_ = y;
  }
  void circle(double x, double y, double r) override { ops.push_back({Op::Circle, x, y, r, 0, fore, {}}); }
  void text(double x, double y, const std::string& s) override { ops.push_back({Op::Text, x, y, 0, 0, fore, s}); }
  void image(double x, double y, double w, double h, const RgbImage&) override {
    ops.push_back({Op::Image, x, y, w, h, fore, {}});
  }
  void textUp(double x, double y, const std::string& s) override { ops.push_back({Op::TextUp, x, y, 0, 0, fore, s}); }
  void fillRect(double x, double y, double w, double h) override { ops.push_back({Op::Fill, x, y, w, h, fore, {}}); }
  void fillCircle(double x, double y, double r) override { ops.push_back({Op::Disc, x, y, r, 0, fore, {}}); }
  double width() const override { return w_; }
  double height() const override { return h_; }
  double windowWidth() const override { return w_ + cw_; }
  double windowHeight() const override { return h_ + ch_; }
  double textWidth(const std::string& s) const override { return 90.0 * static_cast<double>(s.size()); }
  double textHeight() const override { return 195; }

  std::vector<Op> of(Op::Kind k) const {
    std::vector<Op> out;
    for (const Op& o : ops)
      if (o.kind == k) out.push_back(o);
    return out;
  }
  std::vector<Op> of(Op::Kind k, Rgb colour) const {
    std::vector<Op> out;
    for (const Op& o : ops)
      if (o.kind == k && o.colour == colour) out.push_back(o);
    return out;
  }
  // Every primitive, one a line, numbers in their shortest exact form, for golden files.
  std::string log() const {
    static const char* const kNames[] = {"point", "line", "lineTo", "circle", "text", "clear", "image", "textUp", "fill", "disc"};
    std::string s;
    for (const Op& o : ops) {
      s += kNames[o.kind];
      for (double v : {o.x1, o.y1, o.x2, o.y2}) s += " " + num(v);
      s += " " + std::to_string(o.colour.r) + "," + std::to_string(o.colour.g) + "," + std::to_string(o.colour.b);
      if (!o.text.empty()) s += " '" + o.text + "'";
      s += "\n";
    }
    return s;
  }
  static std::string num(double x) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
  }
  const Op* textOp(const std::string& s) const {
    for (const Op& o : ops)
      if ((o.kind == Op::Text || o.kind == Op::TextUp) && o.text == s) return &o;
    return nullptr;
  }

 private:
  double w_, h_, cw_, ch_;
  double lx_ = 0, ly_ = 0;
};

}  // namespace tavrin::test
