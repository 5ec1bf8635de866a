#include "frm_about.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "twips.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

QFrame* MakeRule(QWidget* parent, int left, int top, int right, const QColor& colour) {
  auto* rule = new QFrame(parent);
  rule->setObjectName(QStringLiteral("Line1"));
  rule->setGeometry(Pixels(left), Pixels(top), Pixels(right - left), 1);
  rule->setAutoFillBackground(true);
  QPalette palette = rule->palette();
  palette.setColor(QPalette::Window, colour);
  rule->setPalette(palette);
  return rule;
}

}  // namespace

FrmAbout::FrmAbout(app::Session& session, QWidget* owner) : QDialog(owner), session_(session) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Pixels(5730), Pixels(4005));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setGeometry(TwipsRect(240, 240, 540, 540));
  icon->setPixmap(ProgramIcon().pixmap(32, 32));

  title_ = MakeLabel(this, "lblTitle", TwipsRect(1050, 240, 3885, 480));
  QFont titleFont = title_->font();
  titleFont.setPixelSize(20);
  titleFont.setBold(true);
  title_->setFont(titleFont);
  version_ = MakeLabel(this, "lblVersion", TwipsRect(1050, 780, 3885, 225));
  description_ = MakeLabel(this, "lblDescription", TwipsRect(1050, 1125, 3885, 1170));
  MakeRule(this, 90, 2445, 5654, QColor(128, 128, 128));
  MakeRule(this, 105, 2460, 5654, QColor(255, 255, 255));
  disclaimer_ = MakeLabel(this, "lblDisclaimer", TwipsRect(255, 2625, 3870, 1305));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setGeometry(TwipsRect(4245, 2625, 1260, 345));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  sysInfo->setGeometry(TwipsRect(4260, 3075, 1245, 345));
  connect(sysInfo, &QPushButton::clicked, this, [this] { app::StartSysInfo(session_.Ui); });
}

void FrmAbout::Refresh() {
  const app::AboutWindowModel& model = session_.About;
  setWindowTitle(ToQString(model.Title));
  title_->setText(ToQString(model.TitleLabel));
  version_->setText(ToQString(model.VersionLabel));
  description_->setText(ToQString(model.DescriptionLabel));
  disclaimer_->setText(ToQString(model.DisclaimerLabel));
  setVisible(model.Visible);
  if (model.Visible) raise();
}

void FrmAbout::done(int result) {
  // OK, Enter and Escape close and unload the window; Help > About makes it afresh.
  app::OnAboutOk(session_.About);
  QDialog::done(result);
}

}  // namespace zorvane::qt
