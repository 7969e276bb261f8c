#pragma once
// The question asked when switching from DC to LC with a DCI loaded: carry
// the DC curve values over into the LC fields, or not, or stay in DC.
#include <QDialog>

class QLabel;
class QPushButton;

class frmTransfer : public QDialog {
  Q_OBJECT
 public:
  enum class Answer { Yes, No, Cancel };

  explicit frmTransfer(QWidget* parent = nullptr);

  // Shows the window modally and returns the button pressed. Closing the
  // window counts as Cancel.
  Answer ask();
  Answer answer() const { return answer_; }

 private:
  void answerWith(Answer a);

  Answer answer_ = Answer::Cancel;
};
