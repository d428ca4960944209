#include "qt/form1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "app/folder_choice.h"
#include "app/folder_line.h"
#include "app/form1_layout.h"
#include "platform/files.h"
#include "qt/crossings.h"
#include "qt/folder_chooser.h"
#include "qt/preview.h"

namespace kelvane {

Form1::Form1(std::filesystem::path folder, std::string limit, QWidget* parent)
    : QWidget(parent),
      Label1(new QLabel(FromUtf8(kLabel1Text), this)),
      Text1(new QLineEdit(FromUtf8(kText1Text), this)),
      BtnGo(new QPushButton(FromUtf8(kBtnGoText), this)),
      folder_line_(new QLabel(this)),
      preview_(new PreviewPlot(this)),
      folder_(std::move(folder)),
      limit_(std::move(limit)) {
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setBuddy(Text1);
  Text1->setObjectName(QStringLiteral("Text1"));
  BtnGo->setObjectName(QStringLiteral("BtnGo"));
  BtnGo->setAutoDefault(false);
  BtnGo->setDefault(false);
  BtnGo->installEventFilter(this);
  folder_line_->setObjectName(QStringLiteral("folderLine"));
  folder_line_->setTextFormat(Qt::PlainText);
  folder_line_->setFocusPolicy(Qt::NoFocus);

  setAcceptDrops(true);
  connect(BtnGo, &QPushButton::clicked, this, &Form1::BtnGo_click);
  for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Q, Qt::CTRL | Qt::Key_W}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
  }
  connect(new QShortcut(Qt::CTRL | Qt::Key_O, this), &QShortcut::activated, this,
          &Form1::ChooseFolder);
  // The folder line looks like the link it is, in the palette's colour of links.
  folder_line_->installEventFilter(this);
  folder_line_->setCursor(Qt::PointingHandCursor);
  folder_line_->setForegroundRole(QPalette::Link);
  QFont underlined;
  underlined.setUnderline(true);
  folder_line_->setFont(underlined);
  preview_->installEventFilter(this);
  connect(Text1, &QLineEdit::textChanged, this, &Form1::ShowPreview);

  Form_load();
  ShowFolder();  // its text first, so that the line is placed as high as the text needs
  PlaceControls();
  setWindowTitle(FromUtf8(kCaption));
  setTabOrder(BtnGo, Text1);
  BtnGo->setFocus();
}

void Form1::Form_load() {
  Label1->setText(FromUtf8(kPrompt));
  Text1->setText(FromUtf8(limit_));
}

void Form1::BtnGo_click() {
  const GoOutcome outcome = PressGo(ToUtf8(Text1->text()), folder_, MaxSeparation,
                                    [this](std::string_view message) { ShowLine(message); });
  ShowFolder();
  React(outcome);
}

// A push button that is not the default one takes only Space; Return on the focused Go
// presses it too, as people expect of a focused button. A click on the folder line chooses
// another folder, and so does one on the preview while no folder is chosen.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == folder_line_ || (watched == preview_ && folder_.path().empty())) &&
      event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    ChooseFolder();
    return watched == folder_line_;  // the preview ends its drag too
  }
  if (watched == BtnGo && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BtnGo->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// The layout is kept in twips and converted at the screen's logical resolution, as far as
// the texts fit at this font (LayOutControls).
void Form1::PlaceControls() {
  const QFontMetrics metrics = Label1->fontMetrics();
  int longest = 0;
  for (const QString& word : Label1->text().split(u' ')) {
    longest = std::max(longest, metrics.horizontalAdvance(word) + 1);
  }
  place_ = LayOutControls(logicalDpiY(),
                          {longest, [this](int width) { return Label1->heightForWidth(width); },
                           Text1->minimumSizeHint().height(), BtnGo->minimumSizeHint().height(),
                           folder_line_->minimumSizeHint().height(),
                           [this](int width) { return preview_->FirstSize(width); }});
  Label1->setGeometry(ToRect(place_.label));
  Text1->setGeometry(ToRect(place_.text));
  BtnGo->setGeometry(ToRect(place_.go));
  setMinimumSize(place_.least_width, place_.least_height);
  resize(place_.first_width, place_.first_height);
  PlaceRoom();
}

void Form1::resizeEvent(QResizeEvent* event) {
  PlaceRoom();
  QWidget::resizeEvent(event);
}

// The folder line keeps to the bottom across the whole width; the preview takes the rest
// of the room beside the controls. Nothing here looks at the disk.
void Form1::PlaceRoom() {
  const RoomPlace room = LayOutRoom(place_, logicalDpiY(), width(), height());
  folder_line_->setGeometry(ToRect(room.folder_line));
  preview_->setGeometry(ToRect(room.preview));
  ElideLine();
}

// Window-modal, so the window keeps painting; the text is shown as it is, never as markup.
QMessageBox* Form1::OpenMessage(bool warning, const std::string& text) {
  auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Critical, windowTitle(),
                              FromUtf8(text), QMessageBox::Ok, this);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

// Carries out what ReactionTo decides of Go's outcome.
void Form1::React(const GoOutcome& outcome) {
  const GoReaction reaction = ReactionTo(outcome.result);
  const auto after = [this, reaction] {
    if (reaction.focus_limit) FocusLimit();
    if (reaction.ends) emit ended(reaction.exit_status);
  };
  if (reaction.message == GoReaction::Message::kNone) {
    after();
    return;
  }
  QMessageBox* box =
      OpenMessage(reaction.message == GoReaction::Message::kWarning, outcome.message);
  connect(box, &QMessageBox::finished, this, after);
}

void Form1::FocusLimit() {
  Text1->setFocus();
  Text1->selectAll();
}

// Shown at once: a run waits on this thread, so the line is painted before it does.
void Form1::ShowLine(std::string_view text) {
  line_text_ = FromUtf8(text);
  folder_line_->setAccessibleName(line_text_);
  ElideLine();
  folder_line_->repaint();
}

void Form1::ElideLine() {
  folder_line_->setText(
      folder_line_->fontMetrics().elidedText(line_text_, Qt::ElideMiddle, folder_line_->width()));
}

// The folder Go works in, or which of its inputs are not there; looked at again where the
// folder or its files may have changed: at the start, after Go, on a drop and whenever the
// window becomes active.
void Form1::ShowFolder() {
  const QString folder = FromUtf8(DisplayPath(folder_.path()));
  folder_line_->setToolTip(folder);
  preview_->setCursor(folder_.path().empty() ? Qt::PointingHandCursor : Qt::ArrowCursor);
  folder_line_->setAccessibleDescription(folder);
  ShowLine(FolderLineText(folder_));
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// A folder, or a file in one, dropped onto the window: Go works there from now on.
void Form1::dropEvent(QDropEvent* event) {
  std::vector<std::filesystem::path> items;
  for (const QUrl& url : event->mimeData()->urls()) {
    items.push_back(ToPath(url.toLocalFile()));
  }
  const Drop drop = ReadDrop(items);
  event->acceptProposedAction();
  if (!drop.problem.empty()) {
    OpenMessage(true, drop.problem);
    return;
  }
  SetFolder(drop.folder);
}

// Window-modal, so that the window keeps painting; cancelled, it changes nothing.
void Form1::ChooseFolder() {
  QFileDialog* chooser = NewFolderChooser(this, folder_.path());
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  connect(chooser, &QFileDialog::accepted, this,
          [this, chooser] { SetFolder(TakeChosenFolder(*chooser)); });
  chooser->open();
}

// Go works in `folder` from now on.
void Form1::SetFolder(std::filesystem::path folder) {
  folder_ = HeldFolder(std::move(folder));
  ShowFolder();
  RefreshPreview();
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && shown_) {
    ShowFolder();
    RefreshPreview();
  }
  QWidget::changeEvent(event);
}

// The line files are read once the window is on the screen, so that it appears as soon as
// it would without the preview.
void Form1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  QMetaObject::invokeMethod(this, &Form1::RefreshPreview, Qt::QueuedConnection);
}

// Reads the inputs again when they changed; the pass lines follow the limit as typed.
void Form1::RefreshPreview() {
  if (preview_source_.Refresh(folder_)) ShowPreview();
}

// The preview, and for screen readers what it says in words, and why a limit is refused.
void Form1::ShowPreview() {
  const std::string limit = ToUtf8(Text1->text());
  PreviewLines lines = preview_source_.Lines(limit);
  preview_->setAccessibleDescription(FromUtf8(PreviewDescription(lines)));
  Text1->setAccessibleDescription(FromUtf8(RefusalMessage(ReadLimitText(limit).problem)));
  preview_->SetLines(std::move(lines));
}
}  // namespace kelvane
