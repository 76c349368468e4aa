#include "framework/Dialog.h"

#include "DroppedFiles.h"
#include "ThreadHandOver.h"

#include "framework/PathText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace framework {

namespace {

// Makes every entry of a list box at least as wide as the list's horizontal
// extent, so that the list scrolls that far whatever its entries.
class ExtentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int extent = 0;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), extent));
        return size;
    }
};

// Captions in the user's language. A picture's caption (its bitmap's number)
// and a frame's (never shown) are data and stay as they are.
void translateCaptions(DialogTemplate& dialogTemplate)
{
    const auto translated = [](const QString& caption) {
        if (caption.isEmpty()) return caption;
        return QCoreApplication::translate("DialogTemplate", caption.toUtf8().constData());
    };
    dialogTemplate.caption = translated(dialogTemplate.caption);
    for (ControlTemplate& control : dialogTemplate.controls) {
        if (control.kind != ControlKind::Picture && control.kind != ControlKind::EtchedFrame)
            control.caption = translated(control.caption);
    }
}

QStringList entriesOf(const QListWidget& list)
{
    QStringList entries;
    for (int row = 0; row < list.count(); ++row) entries << list.item(row)->text();
    return entries;
}

}  // namespace

Dialog::Dialog(QWidget* parent, const ResourceSet& resources, QString templateName)
    : QDialog(parent), resources_(resources), templateName_(std::move(templateName))
{}

Dialog::~Dialog() = default;

bool Dialog::create()
{
    if (created_) return true;
    auto dialogTemplate = resources_.dialogTemplate(templateName_, &createError_);
    if (!dialogTemplate) return false;
    translateCaptions(*dialogTemplate);

    // A small sans-serif font, so that captions fit the widths the dialog
    // units give them.
    QFont dialogFont(QStringLiteral("Sans Serif"));
    dialogFont.setPixelSize(10);
    dialogFont.setStretch(QFont::SemiCondensed);
    setFont(dialogFont);
    setWindowTitle(dialogTemplate->caption);
    setFixedSize(horizontalDialogUnitsToPixels(dialogTemplate->widthUnits),
                 verticalDialogUnitsToPixels(dialogTemplate->heightUnits));
    setAcceptDrops(dialogTemplate->acceptsDrops);
    // As a frame's client the dialog has no caption bar of its own.
    if (!dialogTemplate->hasSystemMenu && isWindow())
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    for (const ControlTemplate& controlTemplate : dialogTemplate->controls) {
        QWidget* widget = createControl(controlTemplate);
        widget->setGeometry(dialogUnitsToPixels(controlTemplate.dialogUnits));
        // Sees the control's focus and the keyboard's requests for a context menu.
        widget->installEventFilter(this);
        controls_.emplace_back(controlTemplate, widget);
        if (controlTemplate.id != -1) controlsById_.emplace(controlTemplate.id, widget);
    }
    nameControlsForAssistiveTechnology();
    // Frames and group boxes only decorate: keep them beneath the controls
    // they surround and let clicks through to those controls.
    for (auto& [controlTemplate, widget] : controls_) {
        if (controlTemplate.kind == ControlKind::EtchedFrame || controlTemplate.kind == ControlKind::GroupBox) {
            widget->lower();
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
    created_ = true;
    setupWindow();
    bindDefaultCancel();
    return true;
}

QWidget* Dialog::createControl(const ControlTemplate& control)
{
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::CentredLabel:
    case ControlKind::WrappedLabel: {
        auto* label = new QLabel(control.caption, this);
        label->setAlignment((control.kind == ControlKind::CentredLabel ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignTop);
        label->setWordWrap(control.kind == ControlKind::WrappedLabel);
        return label;
    }
    case ControlKind::Picture: {
        // The template guarantees a number; an id without a bitmap shows nothing.
        auto* picture = new QLabel(this);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setPixmap(resources_.bitmap(control.caption.toInt()));
        return picture;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(this);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        list->setItemDelegate(new ExtentDelegate(list));
        return list;
    }
    case ControlKind::EtchedFrame: {
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case ControlKind::Edit:
    case ControlKind::PasswordEdit: {
        auto* edit = new QLineEdit(control.caption, this);
        if (control.kind == ControlKind::PasswordEdit) edit->setEchoMode(QLineEdit::Password);
        // Files dropped on a field of a dialog that takes drops are a drop on
        // the dialog, not text to paste into the field.
        if (acceptDrops()) edit->setAcceptDrops(false);
        return edit;
    }
    case ControlKind::GroupBox: return new QGroupBox(control.caption, this);
    case ControlKind::CheckBox: return new QCheckBox(control.caption, this);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(control.caption, this);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return new QLabel(control.caption, this);
}

namespace {

// What a sighted user reads: the text without its access-key marker, and
// without the colon that ends a label.
QString spokenText(QString caption)
{
    caption = caption.trimmed();
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (caption.endsWith(':')) caption.chop(1);
    return caption.trimmed();
}

}  // namespace

// A screen reader names a field by the label written before it, and a field
// with no label by the dialog's title; buttons and boxes by their own text.
void Dialog::nameControlsForAssistiveTechnology()
{
    QString labelBefore;
    for (auto& [controlTemplate, widget] : controls_) {
        const QString spoken = spokenText(controlTemplate.caption);
        switch (controlTemplate.kind) {
        case ControlKind::Label:
        case ControlKind::CentredLabel:
        case ControlKind::WrappedLabel:
            if (!spoken.isEmpty()) labelBefore = spoken;
            continue;
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::ListBox:
        case ControlKind::ProgressBar:
            widget->setAccessibleName(labelBefore.isEmpty() ? spokenText(windowTitle()) : labelBefore);
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
        case ControlKind::CheckBox:
        case ControlKind::GroupBox: widget->setAccessibleName(spoken); break;
        case ControlKind::EtchedFrame:
        case ControlKind::Picture: break;
        }
        labelBefore.clear();
    }
}

void Dialog::describeControl(int id, const QString& name, const QString& description)
{
    QWidget* widget = control(id);
    if (!widget) return;
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
    widget->setToolTip(description.isEmpty() ? name : description);
}

void Dialog::describePictures(const QString& name)
{
    for (auto& [controlTemplate, widget] : controls_) {
        if (controlTemplate.kind == ControlKind::Picture) widget->setAccessibleName(name);
    }
}

QWidget* Dialog::control(int id) const
{
    const auto found = controlsById_.find(id);
    return found == controlsById_.end() ? nullptr : found->second;
}

std::vector<Dialog::ControlView> Dialog::controls() const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [this] { return controls(); })) return *asked;
    std::vector<ControlView> views;
    for (const auto& [controlTemplate, widget] : controls_) {
        QString shown = controlTemplate.caption;
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
        if (auto* list = qobject_cast<QListWidget*>(widget)) shown = entriesOf(*list).join('\n');
        auto* label = qobject_cast<QLabel*>(widget);
        if (label && controlTemplate.kind != ControlKind::Picture) shown = label->text();
        views.push_back({controlTemplate.id, controlTemplate.kind, shown, widget->geometry()});
    }
    return views;
}

QString Dialog::text(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return text(id); })) return *asked;
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    return {};
}

void Dialog::setText(int id, const QString& text)
{
    if (handedToUserInterfaceThread(this, [=, this] { setText(id, text); })) return;
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(text);
}

void Dialog::setPathText(int id, const std::string& path)
{
    if (handedToUserInterfaceThread(this, [=, this] { setPathText(id, path); })) return;
    // Recorded first: the field's change handlers read the path back.
    ShownPath& shown = shownPaths_[id];
    shown = {path, displayPath(path)};
    // The field's limit is for typing: a path the program writes is never cut,
    // since the rest of it could name another file.
    if (auto* edit = qobject_cast<QLineEdit*>(control(id)); edit && edit->maxLength() < shown.text.size())
        edit->setMaxLength(static_cast<int>(shown.text.size()));
    setText(id, shown.text);
}

std::string Dialog::pathText(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return pathText(id); })) return *asked;
    const QString current = text(id);
    const auto shown = shownPaths_.find(id);
    if (shown != shownPaths_.end() && shown->second.text == current) return shown->second.path;
    return pathFromText(current);
}

bool Dialog::isChecked(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return isChecked(id); })) return *asked;
    auto* box = qobject_cast<QAbstractButton*>(control(id));
    return box && box->isChecked();
}

void Dialog::setChecked(int id, bool checked)
{
    if (handedToUserInterfaceThread(this, [=, this] { setChecked(id, checked); })) return;
    if (auto* box = qobject_cast<QAbstractButton*>(control(id)); box && box->isCheckable()) box->setChecked(checked);
}

void Dialog::setTextLimit(int id, int characters)
{
    if (handedToUserInterfaceThread(this, [=, this] { setTextLimit(id, characters); })) return;
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) edit->setMaxLength(characters);
}

void Dialog::setReadOnly(int id, bool readOnly)
{
    if (handedToUserInterfaceThread(this, [=, this] { setReadOnly(id, readOnly); })) return;
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) edit->setReadOnly(readOnly);
}

bool Dialog::isReadOnly(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return isReadOnly(id); })) return *asked;
    auto* edit = qobject_cast<QLineEdit*>(control(id));
    return edit && edit->isReadOnly();
}

void Dialog::setProgress(int id, int percent)
{
    if (handedToUserInterfaceThread(this, [=, this] { setProgress(id, percent); })) return;
    if (auto* bar = qobject_cast<QProgressBar*>(control(id))) bar->setValue(percent);
}

void Dialog::focusControl(int id)
{
    if (handedToUserInterfaceThread(this, [=, this] { focusControl(id); })) return;
    if (QWidget* widget = control(id)) widget->setFocus(Qt::OtherFocusReason);
}

void Dialog::press(int id)
{
    if (handedToUserInterfaceThread(this, [=, this] { press(id); })) return;
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    if (!button) return;
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF onScreen = button->mapToGlobal(centre);
    QMouseEvent down(QEvent::MouseButtonPress, centre, onScreen, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, centre, onScreen, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &down);
    QApplication::sendEvent(button, &up);
}

void Dialog::setListItems(int id, const QStringList& items)
{
    if (handedToUserInterfaceThread(this, [=, this] { setListItems(id, items); })) return;
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        list->clear();
        list->addItems(items);
    }
}

void Dialog::clearList(int id)
{
    if (handedToUserInterfaceThread(this, [=, this] { clearList(id); })) return;
    if (auto* list = qobject_cast<QListWidget*>(control(id))) list->clear();
}

QStringList Dialog::listItems(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return listItems(id); })) return *asked;
    auto* list = qobject_cast<QListWidget*>(control(id));
    return list ? entriesOf(*list) : QStringList();
}

void Dialog::setHorizontalExtent(int id, int pixels)
{
    if (handedToUserInterfaceThread(this, [=, this] { setHorizontalExtent(id, pixels); })) return;
    auto* list = qobject_cast<QListWidget*>(control(id));
    auto* delegate = list ? dynamic_cast<ExtentDelegate*>(list->itemDelegate()) : nullptr;
    if (!delegate) return;
    delegate->extent = pixels;
    list->doItemsLayout();
}

void Dialog::endDialog(int result)
{
    if (handedToUserInterfaceThread(this, [=, this] { endDialog(result); })) return;
    done(result);
}

// However a modal run ends, its result is kept.
void Dialog::done(int result)
{
    ended_ = true;
    endResult_ = result;
    QDialog::done(result);
}

bool Dialog::closeWindow()
{
    QWidget* top = window();
    if (top != this) return top->close();
    if (!canClose()) return false;
    endDialog(ResultCancel);
    return true;
}

void Dialog::reject()
{
    if (auto* cancel = qobject_cast<QAbstractButton*>(control(ResultCancel))) {
        if (cancel->isEnabled()) cancel->click();
        return;
    }
    closeWindow();
}

void Dialog::bindDefaultCancel()
{
    auto* cancel = qobject_cast<QAbstractButton*>(control(ResultCancel));
    if (!cancel || clickBindings_.contains(ResultCancel)) return;
    QObject::connect(cancel, &QAbstractButton::clicked, this, [this] { endDialog(ResultCancel); });
}

void Dialog::startDialogTimer(int id, int milliseconds)
{
    if (handedToUserInterfaceThread(this, [=, this] { startDialogTimer(id, milliseconds); })) return;
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        QObject::connect(timer, &QTimer::timeout, this, [this, id] { dialogTimerTick(id); });
    }
    timer->start(milliseconds);
}

void Dialog::stopDialogTimer(int id)
{
    if (handedToUserInterfaceThread(this, [=, this] { stopDialogTimer(id); })) return;
    if (const auto found = timers_.find(id); found != timers_.end()) found->second->stop();
}

bool Dialog::isDialogTimerRunning(int id) const
{
    if (const auto asked = askedOfUserInterfaceThread(this, [=, this] { return isDialogTimerRunning(id); }))
        return *asked;
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

void Dialog::filesDropped(const std::vector<std::string>&) {}

void Dialog::dragEnterEvent(QDragEnterEvent* event) { acceptFileDrag(event); }

void Dialog::dropEvent(QDropEvent* event) { deliverFileDrop(event, *this); }

void Dialog::paint(QPainter&) {}

void Dialog::dialogTimerTick(int) {}

void Dialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    paint(painter);
}

void Dialog::sendCommand(int command)
{
    const auto found = commandActions_.find(command);
    if (found == commandActions_.end()) return;
    // A response may rebind or close the dialog: run a copy.
    const auto actions = found->second;
    for (const auto& action : actions) action();
}

std::vector<Dialog::MenuItem> Dialog::contextMenuItems() const { return {}; }

void Dialog::showContextMenu(QPoint at)
{
    const std::vector<MenuItem> items = contextMenuItems();
    if (items.empty()) return;
    delete contextMenu_;
    contextMenu_ = new QMenu(this);
    for (const MenuItem& item : items) {
        QObject::connect(contextMenu_->addAction(item.text), &QAction::triggered, this,
                         [this, command = item.command] { sendCommand(command); });
    }
    contextMenu_->popup(at);
}

void Dialog::contextMenuEvent(QContextMenuEvent* event)
{
    showContextMenu(event->globalPos());
    event->accept();
}

// A request from the keyboard comes up by the control that has the focus.
void Dialog::showKeyboardContextMenu(QWidget* focused)
{
    const QPoint centre = focused->rect().center();
    showContextMenu(focused->mapToGlobal(centre));
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    // Shift+F10 asks for the context menu as the menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier && !contextMenuItems().empty()) {
        QWidget* focused = QApplication::focusWidget();
        showKeyboardContextMenu(focused && isAncestorOf(focused) ? focused : this);
        return;
    }
    QDialog::keyPressEvent(event);
}

void Dialog::bindResponse(int id, ControlEvent event, std::function<void()> action)
{
    if (event == ControlEvent::Command) {
        commandActions_[id].push_back(std::move(action));
        return;
    }
    QWidget* widget = control(id);
    if (!widget) return;
    switch (event) {
    case ControlEvent::Clicked:
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QObject::connect(button, &QAbstractButton::clicked, this, [action] { action(); });
            clickBindings_.insert(id);
        }
        break;
    case ControlEvent::TextChanged:
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            QObject::connect(edit, &QLineEdit::textChanged, this, [action] { action(); });
        break;
    case ControlEvent::GainedFocus: focusActions_[widget].push_back(std::move(action)); break;
    case ControlEvent::Command: break;
    }
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    // The keyboard asks for the dialog's menu wherever the focus is, also in
    // an edit, whose own menu the right button still gives.
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType() &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
        !contextMenuItems().empty()) {
        showKeyboardContextMenu(static_cast<QWidget*>(watched));
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        if (const auto found = focusActions_.find(watched); found != focusActions_.end()) {
            for (const auto& action : found->second) action();
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace framework
