#pragma once

// The Qt widgets behind the dialog controls (platform/ui sources only). A
// control's state lives in its widget, so a window object that subclasses
// the control later (DDX_Control) finds everything in place.

#include "platform/core/CString.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/wintypes.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>

#include <vector>

class CDC;
class CImageList;
class CWnd;

namespace ctl {

// The control's window style (the attached window's, else the widget's own).
DWORD StyleOf(const QWidget* widget);
int ControlId(const QWidget* widget);
// The window that gets the control's notifications: its parent window.
CWnd* NotifyTarget(const QWidget* widget);
// WM_COMMAND with the code and the control's id to the parent window.
void NotifyCommand(QWidget* widget, int code);
// WM_NOTIFY: fills in the sender and its id, returns the handler's result.
LRESULT NotifyRecord(QWidget* widget, NMHDR* header);
// Control colours: the control's own reflected handler first, then the
// parent window's OnCtlColor; null when neither chose a brush.
HBRUSH QueryCtlColor(QWidget* widget, CDC* dc, UINT kind);
// The font of the control (its window's font, else the default GUI font).
HFONT ControlFont(const QWidget* widget);
// A DC over image prepared for painting the control: font, system colours.
void PrepareControlDC(QWidget* widget, CDC* dc);
// While set, changes made by the program raise no selection notifications.
struct QuietScope {
    explicit QuietScope(QWidget* widget);
    ~QuietScope();
    QWidget* widget;
    bool old;
};
bool IsQuiet(const QWidget* widget);

// Window messages of a button for enabling, leaving and deactivation.
void WatchButtonEvents(QWidget* widget);

// Every button kind; the BS_ type bits of the style decide look and feel.
class ButtonWidget : public QAbstractButton {
public:
    ButtonWidget(DWORD style, QWidget* parent);
    DWORD m_style;
    int m_check = BST_UNCHECKED;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    void PaintOwnerDrawn();
    void PaintStandard();
    void OnClicked();
};

// The radio buttons of member's group, in template order.
std::vector<ButtonWidget*> RadioGroup(ButtonWidget* member);

class StaticWidget : public QLabel {
public:
    StaticWidget(DWORD style, QWidget* parent);
    DWORD m_style;
    QImage m_picture;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class EditWidget : public QLineEdit {
public:
    EditWidget(DWORD style, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class MultiEditWidget : public QPlainTextEdit {
public:
    MultiEditWidget(DWORD style, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Item data rides in Qt::UserRole.
class ComboWidget : public QComboBox {
public:
    ComboWidget(DWORD style, QWidget* parent);
    void showPopup() override;
    // Height of the open list in pixels.
    void SetListHeight(int pixels);

protected:
    // A window height beyond one row is the open list's, as in a template.
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_watchingList = false;
};

class ListBoxWidget : public QListWidget {
public:
    ListBoxWidget(DWORD style, QWidget* parent);
};

// One row of a list control.
struct ListRow {
    std::vector<CString> texts; // column 0 first
    LPARAM data = 0;
    int image = -1;
    bool checked = false;
};

struct ListColumn {
    CString heading;
    int format = LVCFMT_LEFT;
    int width = 100;
};

// The rows and columns of a list control, shared by its report and icon views.
class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(QAbstractItemView* view);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void Reset() { beginResetModel(); endResetModel(); }
    void RowsInserted(int row) { beginInsertRows(QModelIndex(), row, row); endInsertRows(); }
    void BeginRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
    void EndRemove() { endRemoveRows(); }
    void ColumnsChanged() { beginResetModel(); endResetModel(); }
    void RowChanged(int row);

    QAbstractItemView* m_view;
    std::vector<ListRow> m_rows;
    std::vector<ListColumn> m_columns;
    DWORD m_exStyle = 0;
    CImageList* m_smallImages = nullptr;
    CImageList* m_normalImages = nullptr;
    COLORREF m_textColor = CLR_DEFAULT;
    COLORREF m_textBkColor = CLR_DEFAULT;

private:
    // Row colours from the parent's custom draw; false when it chose none.
    bool CustomDrawColors(int row, COLORREF* text, COLORREF* back) const;
};

ListModel* ListModelOf(const QWidget* widget);
QAbstractItemView* ListViewOf(QWidget* widget);
// A report view (LVS_REPORT) or an icon view over a new model.
QAbstractItemView* CreateListView(DWORD style, QWidget* parent);

// Tab strip with the page area below it; pages are child windows of it.
class TabWidget : public QWidget {
public:
    TabWidget(DWORD style, QWidget* parent);
    // Places the strip after its tabs changed.
    void Relayout();
    QTabBar* m_bar;

private:
    // TCS_BUTTONS | TCS_MULTILINE: the tabs as buttons wrapped onto rows
    // (the hidden bar still holds the tabs and the selection).
    void LayOutButtonRows();
    int StripHeight() const;
    bool m_buttonRows = false;
    int m_rowsHeight = 0;
    std::vector<QToolButton*> m_tabButtons;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The window of a dialog; routes Enter, Escape and closing to the dialog.
class DialogWidget : public QDialog {
public:
    DialogWidget(bool child, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;
};

} // namespace ctl
