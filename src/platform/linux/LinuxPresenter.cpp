#include "platform/linux/LinuxPresenter.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "platform/linux/LinuxEvents.h"
#include "platform/linux/LinuxFileManager.h"
#include "platform/linux/MainThreadTasks.h"
#include "platform/linux/ModelImages.h"

namespace routelle {
namespace {

using linux_desktop::ModelMenus;
using linux_desktop::ModelViews;

QPoint qtPoint(Point location) {
  return {static_cast<int>(std::lround(location.x)), static_cast<int>(std::lround(primaryScreenHeight() - location.y))};
}

// The sender a pressed button stands for: its title, or its key equivalent when it has none.
MenuItem senderOf(const View& control) {
  MenuItem sender;
  sender.title = control.text.empty() ? control.keyEquivalent : control.text;
  sender.keyEquivalent = control.keyEquivalent;
  sender.action = control.action;
  sender.view = std::make_shared<View>(control);
  return sender;
}

// The desktop's names for what the Mac's open panel asks for: applications are
// desktop entries, and the Applications folder is where the system keeps them.
QString filterOf(const OpenPanelModel& panel) {
  QStringList patterns;
  for (const auto& type : panel.allowedFileTypes)
    patterns << (type == "app" ? QString("*.desktop") : "*." + QString::fromStdString(type));
  return patterns.isEmpty() ? QString() : "(" + patterns.join(' ') + ")";
}

}  // namespace

LinuxPresenter::LinuxPresenter() = default;
LinuxPresenter::~LinuxPresenter() {
  delete tray_;
  delete floating_.widget;
  for (auto& [name, shown] : windows_) delete shown.widget;
}

void LinuxPresenter::perform(const MenuItem& sender) {
  if (actions_ && !sender.action.empty()) actions_->perform(sender.action, sender);
}

namespace {

// With ROUTELLE_DESKTOP_PRINT_MENUS set, each menu shown is written to standard
// output as drawn ("menu popUpMenu: A | B | C"), and its ready submenus after it:
// what the desktop tests read, since a drawn menu cannot be read back.
void printShownMenu(const QMenu& menu, const QString& name) {
  if (qEnvironmentVariableIsEmpty("ROUTELLE_DESKTOP_PRINT_MENUS")) return;
  QStringList titles;
  for (const QAction* action : menu.actions())
    if (!action->isSeparator()) titles << action->text().replace("&&", "&");
  std::printf("menu %s: %s\n", name.toUtf8().constData(), titles.join(" | ").toUtf8().constData());
  for (const QAction* action : menu.actions())
    if (action->menu() && !action->menu()->actions().isEmpty()) printShownMenu(*action->menu(), action->text());
  std::fflush(stdout);
}

}  // namespace

std::optional<MenuItem> LinuxPresenter::popUpMenu(const Menu& menu, Point location) {
  if (menuWillOpen_) menuWillOpen_(menu);
  std::optional<MenuItem> chosen;
  QMenu popUp;
  popUp.setObjectName("popUpMenu");
  ModelMenus menus([&chosen](const MenuItem& item) { chosen = item; });
  menus.fill(&popUp, menu);
  printShownMenu(popUp, popUp.objectName());
  trackedMenu_ = &popUp;
  popUp.exec(qtPoint(location));
  trackedMenu_ = nullptr;
  return chosen;
}

void LinuxPresenter::cancelMenuTracking(const Menu&) {
  if (trackedMenu_) trackedMenu_->close();
}

QWidget* LinuxPresenter::showModel(Shown& shown, const WindowModel& window, bool floating) {
  delete shown.widget;
  shown.model = window;
  shown.views = std::make_unique<ModelViews>([this](const View& control) { perform(senderOf(control)); },
                                             [this](const PopUpEntry& entry) {
                                               MenuItem sender;
                                               sender.title = entry.title;
                                               sender.action = entry.action;
                                               perform(sender);
                                             });
  QWidget* widget = shown.views->build(shown.model.content, nullptr);
  widget->setWindowTitle(QString::fromStdString(window.title));
  if (floating) {
    widget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // The Mac draws it translucent black; without a compositor that is a dark grey.
    if (!window.opaque) widget->setStyleSheet("background-color: rgb(45, 45, 45); color: white;");
  }
  shown.widget = widget;
  return widget;
}

void LinuxPresenter::showFloatingWindow(const WindowModel& window, Point origin) {
  QWidget* widget = showModel(floating_, window, true);
  widget->setObjectName("floatingWindow");
  const QPoint topLeft = qtPoint({origin.x, origin.y + window.frame.height});
  widget->move(topLeft);
  widget->show();
  widget->raise();
}

void LinuxPresenter::orderOutFloatingWindow() {
  if (floating_.widget) floating_.widget->hide();
}

bool LinuxPresenter::floatingWindowVisible() { return floating_.widget && floating_.widget->isVisible(); }

void LinuxPresenter::showStatusItem(const StatusItemModel& item, const Menu& menu) {
  statusMenu_ = &menu;
  if (!tray_) {
    tray_ = new QSystemTrayIcon;
    QObject::connect(tray_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason) {
      // The click ends before the menu opens, so the menu is shown once it has.
      linux_desktop::postToMainThread([this] { showStatusMenu(); });
    });
  }
  QIcon icon = linux_desktop::iconOf(item.image);
  if (icon.isNull()) icon = QIcon::fromTheme("web-browser");
  tray_->setIcon(icon);
  tray_->setToolTip(QString::fromStdString(item.title.empty() ? "Routelle" : "Routelle " + item.title));
  tray_->show();
}

void LinuxPresenter::showStatusMenu() {
  if (!statusMenu_) return;
  if (menuWillOpen_) menuWillOpen_(*statusMenu_);
  QMenu menu;
  menu.setObjectName("statusMenu");
  std::optional<MenuItem> chosen;
  ModelMenus menus([&chosen](const MenuItem& item) { chosen = item; });
  menus.fill(&menu, *statusMenu_);
  printShownMenu(menu, menu.objectName());
  trackedMenu_ = &menu;
  menu.exec(QCursor::pos());
  trackedMenu_ = nullptr;
  if (chosen) perform(*chosen);
}

void LinuxPresenter::removeStatusItem() {
  if (tray_) tray_->hide();
}

int LinuxPresenter::runModalAlert(AlertModel& alert) {
  if (alertsOnStandardError_) {
    std::fprintf(stderr, "routelle-desktop: %s\n", alert.messageText.c_str());
    if (!alert.informativeText.empty()) std::fprintf(stderr, "%s\n", alert.informativeText.c_str());
    return static_cast<int>(alert.buttons.size());
  }
  QDialog dialog;
  dialog.setObjectName("alert");
  dialog.setWindowTitle("Routelle");
  auto* layout = new QVBoxLayout(&dialog);
  auto* message = new QLabel(QString::fromStdString(alert.messageText));
  QFont bold = message->font();
  bold.setBold(true);
  message->setFont(bold);
  message->setWordWrap(true);
  layout->addWidget(message);
  if (!alert.informativeText.empty()) {
    auto* info = new QLabel(QString::fromStdString(alert.informativeText));
    info->setWordWrap(true);
    layout->addWidget(info);
  }
  ModelViews views([this](const View& control) { perform(senderOf(control)); },
                   [this, &views](const PopUpEntry& entry) {
                     views.readBack();
                     MenuItem sender;
                     sender.title = entry.title;
                     sender.action = entry.action;
                     perform(sender);
                   },
                   [&alert, &views] {
                     if (!alert.fieldChanged) return;
                     views.readBack();
                     alert.fieldChanged(alert);
                     views.showModelText();
                   });
  if (alert.accessory) {
    QWidget* accessory = views.build(*alert.accessory, nullptr);
    accessory->setMinimumSize(accessory->size());
    layout->addWidget(accessory);
  }
  auto* row = new QHBoxLayout;
  row->addStretch();
  std::vector<QPushButton*> buttons;
  int pressed = static_cast<int>(alert.buttons.size());
  // The first button is the default one and stands rightmost, as on the Mac.
  for (std::size_t i = alert.buttons.size(); i-- > 0;) {
    auto* button = new QPushButton(QString::fromStdString(alert.buttons[i]));
    const int index = static_cast<int>(i);
    QObject::connect(button, &QPushButton::clicked, [&dialog, &pressed, index] {
      pressed = index;
      dialog.accept();
    });
    if (i == 0) button->setDefault(true);
    row->addWidget(button);
    buttons.insert(buttons.begin(), button);
  }
  if (alert.buttons.empty()) {
    auto* ok = new QPushButton("OK");
    QObject::connect(ok, &QPushButton::clicked, [&dialog, &pressed] {
      pressed = 0;
      dialog.accept();
    });
    row->addWidget(ok);
    buttons.push_back(ok);
  }
  layout->addLayout(row);
  alerts_.push_back(&dialog);
  const auto previousButtons = alertButtons_;
  alertButtons_ = buttons;
  dialog.exec();
  views.readBack();
  alerts_.pop_back();
  alertButtons_ = previousButtons;
  // Closed without a button (Escape): the last button, which is the cancelling one.
  if (pressed >= static_cast<int>(std::max<std::size_t>(alert.buttons.size(), 1)))
    pressed = static_cast<int>(alert.buttons.empty() ? 0 : alert.buttons.size() - 1);
  return pressed;
}

void LinuxPresenter::pressAlertButton(std::size_t index) {
  if (alerts_.empty() || index >= alertButtons_.size()) return;
  alertButtons_[index]->click();
}

void LinuxPresenter::beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) {
  const bool application = panel.allowedFileTypes == std::vector<std::string>{"app"};
  const QString folder =
      application ? QString(LinuxFileManager::kApplicationsFolder) : QString::fromStdString(panel.directory);
  // After the current event, as the platform's panel answers.
  linux_desktop::postToMainThread([folder, application, filter = filterOf(panel), done = std::move(done)] {
    QString file = QFileDialog::getOpenFileName(nullptr, QString(), folder, filter);
    if (file.isEmpty()) {
      done(std::nullopt);
      return;
    }
    // An application's path is its entry's without ".desktop".
    if (application && file.endsWith(".desktop")) file.chop(8);
    done(file.toStdString());
  });
}

void LinuxPresenter::showWindow(const std::string& name, const WindowModel& window) {
  QWidget* widget = showModel(windows_[name], window, false);
  widget->setObjectName(QString::fromStdString(name));
  widget->show();
  widget->raise();
  widget->activateWindow();
}

void LinuxPresenter::orderOutWindow(const std::string& name) {
  auto it = windows_.find(name);
  if (it != windows_.end() && it->second.widget) it->second.widget->hide();
}

}  // namespace routelle
