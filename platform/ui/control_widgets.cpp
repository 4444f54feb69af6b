#include "platform/ui/control_widgets.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_qt.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/message_box.h"
#include "platform/ui/ui_runtime.h"

#include <QHeaderView>
#include <algorithm>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace ctl {

namespace {

const char* const kQuietProperty = "zorvaQuiet";

CDialog* DialogOf(CWnd* wnd)
{
    return dynamic_cast<CDialog*>(wnd);
}

} // namespace

DWORD StyleOf(const QWidget* widget)
{
    if (CWnd* wnd = uirt::Lookup(const_cast<QWidget*>(widget)))
        return wnd->GetStyle();
    if (auto* b = dynamic_cast<const ButtonWidget*>(widget))
        return b->m_style;
    if (auto* s = dynamic_cast<const StaticWidget*>(widget))
        return s->m_style;
    return 0;
}

int ControlId(const QWidget* widget)
{
    bool ok = false;
    const int id = widget->objectName().toInt(&ok);
    return ok ? id : 0;
}

CWnd* NotifyTarget(const QWidget* widget)
{
    if (CWnd* self = uirt::Lookup(const_cast<QWidget*>(widget)); self != nullptr && self->GetOwner() != nullptr)
        return self->GetOwner();
    return widget->parentWidget() != nullptr ? CWnd::FromHandle(widget->parentWidget()) : nullptr;
}

void NotifyCommand(QWidget* widget, int code)
{
    CWnd* target = NotifyTarget(widget);
    if (target == nullptr)
        return;
    uirt::DispatchScope scope;
    CWnd* self = uirt::Lookup(widget);
    target->SendMessage(WM_COMMAND, MAKEWPARAM(UINT(ControlId(widget)), UINT(code)),
                        reinterpret_cast<LPARAM>(self));
}

LRESULT NotifyRecord(QWidget* widget, NMHDR* header)
{
    header->hwndFrom = widget;
    header->idFrom = UINT_PTR(ControlId(widget));
    CWnd* target = NotifyTarget(widget);
    if (target == nullptr)
        return 0;
    uirt::DispatchScope scope;
    return target->SendMessage(WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

HBRUSH QueryCtlColor(QWidget* widget, CDC* dc, UINT kind)
{
    CWnd* self = uirt::Lookup(widget);
    if (auto* control = dynamic_cast<CControlBase*>(self)) {
        if (HBRUSH b = control->CtlColor(dc, kind))
            return b;
    }
    if (CDialog* dialog = DialogOf(NotifyTarget(widget)); dialog != nullptr && self != nullptr) {
        uirt::DispatchScope scope;
        return dialog->OnCtlColor(dc, self, kind);
    }
    return nullptr;
}

HFONT ControlFont(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        CWnd* wnd = uirt::Lookup(const_cast<QWidget*>(w));
        if (wnd != nullptr && wnd->GetFont() != nullptr)
            return HFONT(wnd->GetFont()->GetSafeHandle());
        if (w->isWindow())
            break;
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void PrepareControlDC(QWidget* widget, CDC* dc)
{
    dc->SelectObject(HGDIOBJ(ControlFont(widget)));
    dc->SetTextColor(GetSysColor(widget->isEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    dc->SetBkColor(GetSysColor(COLOR_BTNFACE));
    dc->SetBkMode(OPAQUE);
}

QuietScope::QuietScope(QWidget* w) : widget(w), old(w->property(kQuietProperty).toBool())
{
    widget->setProperty(kQuietProperty, true);
}

QuietScope::~QuietScope()
{
    widget->setProperty(kQuietProperty, old);
}

bool IsQuiet(const QWidget* widget)
{
    return widget->property(kQuietProperty).toBool();
}

// ---- buttons ----

namespace {

bool IsAutoRadio(DWORD style)
{
    return (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

bool IsCheckable(DWORD style)
{
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<ButtonWidget*> RadioGroup(ButtonWidget* member)
{
    // A group runs from a control with WS_GROUP to the next one, in the
    // order the controls were made.
    std::vector<ButtonWidget*> group;
    QWidget* parent = member->parentWidget();
    if (parent == nullptr)
        return {member};
    bool found = false;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w == nullptr)
            continue;
        if ((StyleOf(w) & WS_GROUP) != 0) {
            if (found)
                break;
            group.clear();
        }
        if (auto* b = dynamic_cast<ButtonWidget*>(w)) {
            const DWORD type = StyleOf(b) & BS_TYPEMASK;
            if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
                group.push_back(b);
        }
        if (w == member)
            found = true;
    }
    return group;
}

ButtonWidget::ButtonWidget(DWORD style, QWidget* parent) : QAbstractButton(parent), m_style(style)
{
    setCheckable(IsCheckable(style));
    setAutoExclusive(false);
    setFocusPolicy((style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
        // A frame around other controls: it takes no clicks and no focus.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
    connect(this, &QAbstractButton::clicked, this, [this] { OnClicked(); });
    WatchButtonEvents(this);
}

void ButtonWidget::nextCheckState()
{
    const DWORD style = StyleOf(this);
    switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
        setChecked(!isChecked());
        break;
    case BS_AUTO3STATE:
        m_check = (m_check + 1) % 3;
        setChecked(m_check != BST_UNCHECKED);
        break;
    case BS_AUTORADIOBUTTON:
        for (ButtonWidget* b : RadioGroup(this)) {
            if (b != this && IsAutoRadio(StyleOf(b)))
                b->setChecked(false);
        }
        setChecked(true);
        break;
    default:
        break; // the owner decides
    }
}

void ButtonWidget::OnClicked()
{
    CWnd* self = uirt::Lookup(this);
    if (auto* button = dynamic_cast<CButton*>(self)) {
        uirt::DispatchScope scope;
        if (button->OnReflectedClick())
            return;
    }
    NotifyCommand(this, BN_CLICKED);
}

void ButtonWidget::paintEvent(QPaintEvent*)
{
    if ((StyleOf(this) & BS_TYPEMASK) == BS_OWNERDRAW)
        PaintOwnerDrawn();
    else
        PaintStandard();
}

void ButtonWidget::PaintOwnerDrawn()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
    {
        CDC dc;
        dc.AttachImage(&image);
        PrepareControlDC(this, &dc);
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_BUTTON;
        item.CtlID = UINT(ControlId(this));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = (isDown() ? ODS_SELECTED : 0) | (hasFocus() ? ODS_FOCUS : 0)
            | (isEnabled() ? 0 : ODS_DISABLED);
        item.hwndItem = this;
        item.hDC = &dc;
        item.rcItem = RECT{0, 0, width(), height()};
        if (auto* button = dynamic_cast<CButton*>(uirt::Lookup(this))) {
            uirt::DispatchScope scope;
            button->DrawItem(&item);
        }
        dc.ReleaseTarget();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void ButtonWidget::PaintStandard()
{
    QPainter painter(this);
    const DWORD style = StyleOf(this);
    const DWORD type = style & BS_TYPEMASK;
    if (type != BS_GROUPBOX)
        painter.fillRect(rect(), ToQColor(GetSysColor(COLOR_BTNFACE)));
    if (type == BS_GROUPBOX) {
        const int half = fontMetrics().height() / 2;
        painter.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
        painter.drawRect(rect().adjusted(0, half, -1, -1));
        const QString caption = text().remove(QLatin1Char('&'));
        const int textWidth = fontMetrics().horizontalAdvance(caption) + 4;
        painter.fillRect(QRect(6, 0, textWidth, fontMetrics().height()), ToQColor(GetSysColor(COLOR_BTNFACE)));
        painter.setPen(palette().color(isEnabled() ? QPalette::WindowText : QPalette::PlaceholderText));
        painter.drawText(QRect(8, 0, textWidth, fontMetrics().height()), Qt::AlignLeft | Qt::AlignVCenter, caption);
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.icon = icon();
    option.iconSize = iconSize();
    if (isDown())
        option.state |= QStyle::State_Sunken;
    if (isCheckable()) {
        option.state |= m_check == BST_INDETERMINATE && isChecked() ? QStyle::State_NoChange
            : isChecked() ? QStyle::State_On : QStyle::State_Off;
    }
    if (type == BS_DEFPUSHBUTTON)
        option.features |= QStyleOptionButton::DefaultButton;
    QStyle::ControlElement element = QStyle::CE_PushButton;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
        element = QStyle::CE_RadioButton;
    else if (isCheckable() && (style & BS_PUSHLIKE) == 0)
        element = QStyle::CE_CheckBox;
    QWidget::style()->drawControl(element, &option, &painter, this);
}

// ---- static texts and pictures ----

StaticWidget::StaticWidget(DWORD style, QWidget* parent) : QLabel(parent), m_style(style)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StaticWidget::paintEvent(QPaintEvent*)
{
    const DWORD style = StyleOf(this);
    QImage image(size(), QImage::Format_RGB32);
    image.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
    {
        CDC dc;
        dc.AttachImage(&image);
        PrepareControlDC(this, &dc);
        const HBRUSH brush = QueryCtlColor(this, &dc, CTLCOLOR_STATIC);
        RECT r{0, 0, width(), height()};
        if (brush != nullptr)
            dc.FillRect(&r, brush);
        const DWORD type = style & SS_TYPEMASK;
        if (type != SS_ICON && type != SS_BITMAP) {
            if (!isEnabled())
                dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
            unsigned format = DT_WORDBREAK;
            if (type == SS_CENTER)
                format |= DT_CENTER;
            else if (type == SS_RIGHT)
                format |= DT_RIGHT;
            if ((style & SS_CENTERIMAGE) != 0)
                format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
            const CString caption = uirt::FromQ(text());
            dc.DrawText(caption.GetString(), caption.GetLength(), &r, format);
        }
        dc.ReleaseTarget();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
    if (!m_picture.isNull()) {
        const QPoint at((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
        painter.drawImage((style & SS_CENTERIMAGE) != 0 ? at : QPoint(0, 0), m_picture);
    }
}

void StaticWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if ((StyleOf(this) & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton)
        NotifyCommand(this, 0); // STN_CLICKED
}

// ---- edits ----

namespace {

// Text and base colours of an edit from the control-colour handlers.
void ApplyEditColors(QWidget* edit)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&scratch);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkColor(GetSysColor(COLOR_WINDOW));
    const HBRUSH brush = QueryCtlColor(edit, &dc, CTLCOLOR_EDIT);
    QPalette pal = edit->palette();
    QColor text = ToQColor(dc.GetTextColor());
    QColor base = ToQColor(GetSysColor(COLOR_WINDOW));
    LOGBRUSH lb;
    if (brush != nullptr && GetObject(HGDIOBJ(brush), sizeof(lb), &lb) == sizeof(lb) && lb.lbStyle == BS_SOLID)
        base = ToQColor(lb.lbColor);
    dc.ReleaseTarget();
    if (pal.color(QPalette::Text) == text && pal.color(QPalette::Base) == base)
        return;
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Base, base);
    edit->setPalette(pal);
}

Qt::Alignment EditAlignment(DWORD style)
{
    if ((style & ES_RIGHT) != 0)
        return Qt::AlignRight | Qt::AlignVCenter;
    if ((style & ES_CENTER) != 0)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

EditWidget::EditWidget(DWORD style, QWidget* parent) : QLineEdit(parent)
{
    setReadOnly((style & ES_READONLY) != 0);
    setAlignment(EditAlignment(style));
    setFrame((style & WS_BORDER) != 0);
    if ((style & ES_PASSWORD) != 0)
        setEchoMode(QLineEdit::Password);
    connect(this, &QLineEdit::textChanged, this, [this] { NotifyCommand(this, EN_CHANGE); });
}

void EditWidget::paintEvent(QPaintEvent* event)
{
    ApplyEditColors(this);
    QLineEdit::paintEvent(event);
}

void EditWidget::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    NotifyCommand(this, EN_SETFOCUS);
}

void EditWidget::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    NotifyCommand(this, EN_KILLFOCUS);
}

MultiEditWidget::MultiEditWidget(DWORD style, QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly((style & ES_READONLY) != 0);
    setLineWrapMode((style & ES_AUTOHSCROLL) != 0 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    if ((style & WS_BORDER) == 0)
        setFrameShape(QFrame::NoFrame);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { NotifyCommand(this, EN_CHANGE); });
}

void MultiEditWidget::paintEvent(QPaintEvent* event)
{
    ApplyEditColors(this);
    QPlainTextEdit::paintEvent(event);
}

void MultiEditWidget::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    NotifyCommand(this, EN_SETFOCUS);
}

void MultiEditWidget::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    NotifyCommand(this, EN_KILLFOCUS);
}

// ---- combo boxes and list boxes ----

ComboWidget::ComboWidget(DWORD style, QWidget* parent) : QComboBox(parent)
{
    const DWORD type = style & 0x3;
    setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(30);
    connect(this, &QComboBox::activated, this, [this] {
        NotifyCommand(this, CBN_SELCHANGE);
        NotifyCommand(this, CBN_SELENDOK);
    });
    if (lineEdit() != nullptr)
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { NotifyCommand(this, CBN_EDITCHANGE); });
}

void ComboWidget::SetListHeight(int pixels)
{
    const int rowHeight = std::max(1, fontMetrics().height() + 4);
    setMaxVisibleItems(std::max(1, pixels / rowHeight));
}

void ComboWidget::resizeEvent(QResizeEvent* event)
{
    const int row = sizeHint().height();
    if (height() > row + 2) {
        SetListHeight(height() - row);
        resize(width(), row);
        return;
    }
    QComboBox::resizeEvent(event);
}

void ComboWidget::showPopup()
{
    NotifyCommand(this, CBN_DROPDOWN);
    QComboBox::showPopup();
    QWidget* list = view()->window();
    if (list != window() && !m_watchingList) {
        list->installEventFilter(this);
        m_watchingList = true;
    }
}

// The list closes by a choice, Esc or a click elsewhere; Qt also "hides" a
// list that is not open (on disabling), which is no closing. Qt closes the
// list before it reports the chosen row, so the closing is sent after the
// choice (CBN_SELENDOK) as Windows orders them: an owner that took the
// closing first saw a list left without a choice.
bool ComboWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == view()->window())
        QMetaObject::invokeMethod(this, [this] { NotifyCommand(this, CBN_CLOSEUP); }, Qt::QueuedConnection);
    return QComboBox::eventFilter(watched, event);
}

ListBoxWidget::ListBoxWidget(DWORD style, QWidget* parent) : QListWidget(parent)
{
    if ((style & LBS_EXTENDEDSEL) != 0)
        setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if ((style & LBS_MULTIPLESEL) != 0)
        setSelectionMode(QAbstractItemView::MultiSelection);
    else
        setSelectionMode(QAbstractItemView::SingleSelection);
    if ((style & WS_BORDER) == 0)
        setFrameShape(QFrame::NoFrame);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!IsQuiet(this) && (StyleOf(this) & LBS_NOTIFY) != 0)
            NotifyCommand(this, LBN_SELCHANGE);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        if ((StyleOf(this) & LBS_NOTIFY) != 0)
            NotifyCommand(this, LBN_DBLCLK);
    });
}

// ---- tab control ----

TabWidget::TabWidget(DWORD style, QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this))
{
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_buttonRows = (style & (TCS_BUTTONS | TCS_MULTILINE)) == (TCS_BUTTONS | TCS_MULTILINE);
    if (m_buttonRows)
        m_bar->hide();
    connect(m_bar, &QTabBar::currentChanged, this, [this] {
        for (int i = 0; i < int(m_tabButtons.size()); ++i)
            m_tabButtons[size_t(i)]->setChecked(i == m_bar->currentIndex());
        if (IsQuiet(this))
            return;
        NMHDR header;
        header.code = TCN_SELCHANGE;
        NotifyRecord(this, &header);
    });
}

void TabWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void TabWidget::Relayout()
{
    if (m_buttonRows)
        LayOutButtonRows();
    else
        m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    update();
}

void TabWidget::LayOutButtonRows()
{
    while (int(m_tabButtons.size()) > m_bar->count()) {
        delete m_tabButtons.back();
        m_tabButtons.pop_back();
    }
    while (int(m_tabButtons.size()) < m_bar->count()) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        const int index = int(m_tabButtons.size());
        connect(button, &QToolButton::clicked, this, [this, index] {
            if (m_bar->currentIndex() == index)
                m_tabButtons[size_t(index)]->setChecked(true);
            else
                m_bar->setCurrentIndex(index);
        });
        m_tabButtons.push_back(button);
    }
    // Rows fill from the left and wrap when the next tab would not fit.
    int x = 0, y = 0, rowHeight = 0;
    for (int i = 0; i < int(m_tabButtons.size()); ++i) {
        QToolButton* button = m_tabButtons[size_t(i)];
        button->setText(m_bar->tabText(i));
        button->setChecked(i == m_bar->currentIndex());
        const QSize hint = button->sizeHint();
        if (x > 0 && x + hint.width() > width()) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        const int w = std::min(hint.width(), std::max(width(), 1));
        button->setGeometry(x, y, w, hint.height());
        button->show();
        x += w;
        rowHeight = std::max(rowHeight, hint.height());
    }
    m_rowsHeight = y + rowHeight;
}

int TabWidget::StripHeight() const
{
    return m_buttonRows ? m_rowsHeight : m_bar->sizeHint().height();
}

void TabWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(GetSysColor(COLOR_BTNFACE)));
    const int top = StripHeight() - 1;
    painter.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
    painter.drawRect(QRect(0, top, width() - 1, height() - top - 1));
}

// ---- dialog window ----

DialogWidget::DialogWidget(bool child, QWidget* parent) : QDialog(parent)
{
    // QDialog makes every widget a window; a page is a plain child.
    if (child)
        setWindowFlags(Qt::Widget);
    setSizeGripEnabled(false);
    setAutoFillBackground(false);
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    auto* dialog = dynamic_cast<CDialog*>(uirt::Lookup(this));
    if (dialog == nullptr || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        dialog->PressButton(IDCANCEL);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        // A focused push button is the one Enter presses, else the default.
        auto* focused = dynamic_cast<ButtonWidget*>(focusWidget());
        const DWORD type = focused != nullptr ? StyleOf(focused) & BS_TYPEMASK : 0xFF;
        if (focused != nullptr && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW))
            focused->click();
        else
            dialog->PressButton(dialog->GetDefaultButtonId());
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWidget::reject()
{
    if (auto* dialog = dynamic_cast<CDialog*>(uirt::Lookup(this)))
        dialog->PressButton(IDCANCEL);
}

void DialogWidget::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
    if (auto* dialog = dynamic_cast<CDialog*>(uirt::Lookup(this))) {
        CDC dc;
        dc.AttachImage(&image);
        PrepareControlDC(this, &dc);
        uirt::DispatchScope scope;
        if (HBRUSH brush = dialog->OnCtlColor(&dc, dialog, CTLCOLOR_DLG)) {
            RECT r{0, 0, width(), height()};
            dc.FillRect(&r, brush);
        }
        dc.ReleaseTarget();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

} // namespace ctl
