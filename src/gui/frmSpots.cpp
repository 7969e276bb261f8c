#include "frmSpots.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "EditorWindows.h"
#include "ReportFailure.h"
#include "frmIndivHlp.h"
#include "frmMain.h"
#include "model/number_fields.h"
#include "model/spot_rules.h"
#include "shell/errors.h"

using namespace tavrin;

namespace {

frmSpots::HelpPageOpener& helpOpener() {
  static frmSpots::HelpPageOpener opener;
  return opener;
}

// A column caption that shows its quantity's help when clicked.
class HelpCaption : public QLabel {
 public:
  HelpCaption(const QString& name, const QString& text, std::function<void()> onClick, QWidget* parent)
      : QLabel(text, parent), onClick_(std::move(onClick)) {
    setObjectName(name);
    setCursor(Qt::CrossCursor);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) onClick_();
    QLabel::mousePressEvent(e);
  }

 private:
  std::function<void()> onClick_;
};

QStringList toQt(const std::vector<std::string>& v) {
  QStringList out;
  for (const auto& s : v) out << QString::fromStdString(s);
  return out;
}

// Text arrays of the cells: star 1 Text1..Text4, star 2 Text5..Text8.
int arrayOf(int star, int quantity) { return (star - 1) * 4 + quantity + 1; }

}  // namespace

void frmSpots::setHelpPageOpener(HelpPageOpener opener) { helpOpener() = std::move(opener); }

frmSpots::frmSpots(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmSpots");
  setWindowTitle("Spots2");

  auto* outer = new QVBoxLayout(this);
  auto* bar = new QMenuBar(this);
  QAction* help = bar->addAction("Help");
  help->setObjectName("spotsHelp");
  connect(help, &QAction::triggered, this, &frmSpots::showHelpPage);
  outer->setMenuBar(bar);

  // Caption names per star: latitude, longitude, radius, factor.
  const char* captionNames[3][4] = {{}, {"Label13", "Label1", "Label6", "Label7"}, {"Label8", "Label9", "Label10", "Label11"}};
  const char* captions[4] = {"Latitude (deg)", "Longitude (deg)", "Radius (deg)", "Temp. factor"};

  auto* stars = new QHBoxLayout;
  for (int star = 1; star <= 2; ++star) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* title = new QLabel(star == 1 ? "Star 1 ----------------------------------------------------"
                                       : "Star 2 ----------------------------------------------------",
                             this);
    title->setObjectName(star == 1 ? "Label2" : "Label3");
    QFont bf = title->font();
    bf.setBold(true);
    title->setFont(bf);
    grid->addWidget(title, 0, 0, 1, 5);

    auto* countLabel = new QLabel("# of Spots", this);
    countLabel->setObjectName(star == 1 ? "Label4" : "Label5");
    auto* combo = new QComboBox(this);
    combo->setObjectName(star == 1 ? "Combo1" : "Combo2");
    countLabel->setBuddy(combo);
    combo->setAccessibleName(QString("Star %1: number of spots").arg(star));
    (star == 1 ? combo1_ : combo2_) = combo;
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addSpacing(6);
    countRow->addWidget(combo);
    countRow->addStretch();
    grid->addLayout(countRow, 1, 0, 1, 5);

    for (int q = 0; q < 4; ++q) {
      auto* cap = new HelpCaption(captionNames[star][q], captions[q],
                                  [this, q, star] { indivHelpWindow(main_).showLines(toQt(spotColumnHelp(q, star))); },
                                  this);
      grid->addWidget(cap, 2, q + 1);
    }
    for (int row = 1; row <= kMaxSpotsPerStar; ++row) {
      auto* rl = new QLabel(QString::number(row), this);
      rl->setObjectName(QString("RowLabel%1_%2").arg(star).arg(row));
      rowLabels_[static_cast<size_t>(star)][static_cast<size_t>(row)] = rl;
      grid->addWidget(rl, 2 + row, 0);
      for (int q = 0; q < 4; ++q) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString("Text%1_%2").arg(arrayOf(star, q)).arg(row));
        // The grid's captions sit above the columns: name each cell in full.
        e->setAccessibleName(QString("Star %1, spot %2: %3").arg(star).arg(row).arg(captions[q]));
        e->setFixedWidth(96);
        e->setAlignment(Qt::AlignRight);
        e->setAutoFillBackground(true);
        cells_[static_cast<size_t>(star)][static_cast<size_t>(row)][static_cast<size_t>(q)] = e;
        grid->addWidget(e, 2 + row, q + 1);
      }
    }
    grid->setRowStretch(2 + kMaxSpotsPerStar + 1, 1);
    stars->addLayout(grid);
    if (star == 1) stars->addSpacing(24);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, star](int i) { onCountChosen(star, i); });
  }
  outer->addLayout(stars);

  // Spot A / Spot B (DC mode only).
  abGroup_ = new QWidget(this);
  abGroup_->setObjectName("SpotABGroup");
  auto* ab = new QGridLayout(abGroup_);
  ab->setContentsMargins(0, 8, 0, 0);
  auto lab = [&](const char* name, const char* text) {
    auto* l = new QLabel(text, abGroup_);
    l->setObjectName(name);
    return l;
  };
  QLabel* adjustTitle = lab("Label16", "ADJUST SPOTS");
  QFont bf = adjustTitle->font();
  bf.setBold(true);
  adjustTitle->setFont(bf);
  ab->addWidget(adjustTitle, 0, 0);
  ab->addWidget(lab("Label14", "Which star? (1,2)"), 0, 1);
  ab->addWidget(lab("Label15", "Which Spot? (1- 6)"), 0, 2);
  QLabel* spotA = lab("Label17", "Spot A");
  QLabel* spotB = lab("Label18", "Spot B");
  ab->addWidget(spotA, 1, 0);
  ab->addWidget(spotB, 2, 0);
  for (int i = 0; i < 4; ++i) {
    auto* e = new QLineEdit(abGroup_);
    e->setObjectName(QString("Text%1").arg(9 + i));
    e->setAccessibleName(QString("Spot %1: %2").arg(i < 2 ? "A" : "B", i % 2 == 0 ? "which star (1, 2)" : "which spot (1-6)"));
    e->setFixedWidth(60);
    ab_[static_cast<size_t>(i)] = e;
    ab->addWidget(e, 1 + i / 2, 1 + i % 2);
    connect(e, &QLineEdit::textChanged, this, [this, i] { onSpotFieldChanged(i); });
  }
  spotA->setBuddy(ab_[0]);
  spotB->setBuddy(ab_[2]);
  ab->setColumnStretch(3, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(abGroup_);
  bottom->addStretch(1);
  auto* buttons = new QVBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command2");
  for (auto* b : {ok, cancel}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  bottom->addLayout(buttons);
  outer->addLayout(bottom);
  connect(ok, &QPushButton::clicked, this, &frmSpots::pressOk);
  connect(cancel, &QPushButton::clicked, this, &frmSpots::pressCancel);
}

QLineEdit* frmSpots::cell(int star, int row, int q) const {
  if (star < 1 || star > 2 || row < 1 || row > kMaxSpotsPerStar || q < 0 || q > 3) return nullptr;
  return cells_[static_cast<size_t>(star)][static_cast<size_t>(row)][static_cast<size_t>(q)];
}

void frmSpots::setRowLimit(int limit) {
  rowLimit_ = limit;
  for (QComboBox* c : {combo1_, combo2_}) {
    if (c->count() == limit + 1) continue;
    c->clear();
    for (int n = 0; n <= limit; ++n) c->addItem(QString::number(n));
  }
}

void frmSpots::showWindow() {
  ParameterSet& p = main_.session().params;
  countsAtOpen_ = {0, p.spotCount[1], p.spotCount[2]};
  filling_ = true;
  setRowLimit(spotRowLimit(p));
  for (int star = 1; star <= 2; ++star) {
    const int count = std::clamp<int>(p.spotCount[static_cast<size_t>(star)], 0, kMaxSpotsPerStar);
    for (int row = 1; row <= rowLimit_; ++row) {
      const auto texts = spotCellTexts(p.spots[static_cast<size_t>(star)][static_cast<size_t>(row)]);
      for (int q = 0; q < 4; ++q)
        cell(star, row, q)->setText(row <= count ? QString::fromStdString(texts[static_cast<size_t>(q)]) : QString());
    }
    countCombo(star)->setCurrentIndex(std::min(count, rowLimit_));
  }
  const int16_t ab[4] = {p.spotAStar, p.spotANumber, p.spotBStar, p.spotBNumber};
  for (int i = 0; i < 4; ++i) spotField(i)->setText(QString::number(ab[i]));
  filling_ = false;
  abGroup_->setVisible(main_.session().mode == ProgramMode::DC);
  showRows(1);
  showRows(2);
  refreshHighlighting();
  show();
  raise();
  activateWindow();
}

void frmSpots::showRows(int star) {
  const int count = main_.session().params.spotCount[static_cast<size_t>(star)];
  for (int row = 1; row <= kMaxSpotsPerStar; ++row) {
    const bool shown = row <= count && row <= rowLimit_;
    rowLabels_[static_cast<size_t>(star)][static_cast<size_t>(row)]->setVisible(shown);
    for (int q = 0; q < 4; ++q) cell(star, row, q)->setVisible(shown);
  }
}

void frmSpots::onCountChosen(int star, int index) {
  if (filling_ || index < 0) return;
  main_.session().params.spotCount[static_cast<size_t>(star)] = static_cast<int16_t>(index);
  showRows(star);
}

void frmSpots::onSpotFieldChanged(int i) {
  if (filling_) return;
  ParameterSet& p = main_.session().params;
  int16_t* targets[4] = {&p.spotAStar, &p.spotANumber, &p.spotBStar, &p.spotBNumber};
  try {
    *targets[i] = leadingInt16(spotField(i)->text().toStdString());
  } catch (const TavrinError&) {
    return;  // a number too large for the field is refused again, with its message, at OK
  }
  refreshHighlighting();
}

void frmSpots::refreshHighlighting() {
  for (int star = 1; star <= 2; ++star)
    for (int row = 1; row <= kMaxSpotsPerStar; ++row)
      for (int q = 0; q < 4; ++q) {
        QLineEdit* e = cell(star, row, q);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, Qt::white);
        e->setPalette(pal);
      }
  for (const auto& h : spotHighlights(main_.session().params, rowLimit_)) {
    QLineEdit* e = cell(h.star, h.row, h.quantity);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, QColor(h.red, h.green, h.blue));
    e->setPalette(pal);
  }
}

void frmSpots::pressOk() {
  Session& s = main_.session();
  SpotsEntry e;
  e.rowLimit = rowLimit_;
  for (int star = 1; star <= 2; ++star)
    for (int row = 1; row <= kMaxSpotsPerStar; ++row)
      for (int q = 0; q < 4; ++q)
        e.cells[static_cast<size_t>(star)][static_cast<size_t>(row)][static_cast<size_t>(q)] =
            cell(star, row, q)->text().toStdString();
  for (int i = 0; i < 4; ++i) e.spotAB[static_cast<size_t>(i)] = spotField(i)->text().toStdString();
  std::optional<std::string> refusal;
  if (!reportFailure(main_, [&] { refusal = applySpotsOk(s.params, e, s.mode == ProgramMode::DC); })) return;
  if (refusal) {
    main_.showMessage(QString::fromStdString(*refusal));
    return;
  }
  s.editedSinceSave = true;  // the tables went into the set: Exit asks before losing them
  hide();
}

void frmSpots::pressCancel() {
  ParameterSet& p = main_.session().params;
  p.spotCount[1] = static_cast<int16_t>(countsAtOpen_[1]);
  p.spotCount[2] = static_cast<int16_t>(countsAtOpen_[2]);
  hide();
}

void frmSpots::reject() { pressCancel(); }

void frmSpots::showHelpPage() {
  const HelpPageText page = spotsHelpPage();
  QStringList paragraphs = toQt(page.paragraphs);
  const QString title = QString::fromStdString(page.title);
  if (helpOpener()) {
    helpOpener()(title, paragraphs);
    return;
  }
  if (!helpPage_) {
    helpPage_ = new QDialog(this);
    helpPage_->setObjectName("frmSpotsHelpPage");
    helpPage_->setWindowTitle(title);
    auto* v = new QVBoxLayout(helpPage_);
    auto* t = new QLabel(title, helpPage_);
    t->setObjectName("Label0");
    QFont f = t->font();
    f.setBold(true);
    t->setFont(f);
    v->addWidget(t);
    int i = 1;
    for (const QString& para : paragraphs) {
      auto* l = new QLabel(para, helpPage_);
      l->setObjectName(QString("Label1_%1").arg(i++));
      l->setWordWrap(true);
      v->addWidget(l);
    }
    helpPage_->resize(560, helpPage_->sizeHint().height());
  }
  helpPage_->show();
  helpPage_->raise();
}
