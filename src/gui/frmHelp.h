#pragma once
// The help-page window: a title (Label0) and the page's paragraphs, one per
// label of the array Label1, wrapped to the window's width.
#include <QDialog>
#include <QStringList>
#include <vector>

class QLabel;
class QVBoxLayout;

class frmHelp : public QDialog {
  Q_OBJECT
 public:
  explicit frmHelp(QWidget* parent = nullptr);

  // Hides every paragraph label, sets the title, fills one label per
  // paragraph, shows those and the window.
  void showPage(const QString& title, const QStringList& paragraphs);
  QString title() const;
  int paragraphCount() const { return count_; }
  // Label1_k (k from 0), nullptr beyond the labels made so far.
  QLabel* paragraphLabel(int k) const;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void relayout();

  QLabel* title_ = nullptr;
  QVBoxLayout* column_ = nullptr;
  std::vector<QLabel*> labels_;
  int count_ = 0;
};
