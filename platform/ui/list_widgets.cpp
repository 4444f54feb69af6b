// The list control's model and views: report rows in a tree view without
// branches, icons in a list view; mouse and selection changes become the
// list notifications of the parent window.

#include "platform/gdi/gdi_qt.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace ctl {

namespace {

constexpr unsigned LVIF_STATE = 0x8;

unsigned StateImageBits(bool checked)
{
    return (checked ? 2u : 1u) << 12;
}

QVariant ColorVariant(COLORREF c)
{
    return c == CLR_DEFAULT || c == CLR_NONE ? QVariant() : QVariant(ToQColor(c));
}

void SendItemChanged(QWidget* list, int row, unsigned newState, unsigned oldState, LPARAM data)
{
    NMLISTVIEW nm;
    nm.hdr.code = LVN_ITEMCHANGED;
    nm.iItem = row;
    nm.uChanged = LVIF_STATE;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.lParam = data;
    NotifyRecord(list, &nm.hdr);
}

// Mouse on the viewport as the list's click notifications.
class ListMouse : public QObject {
public:
    explicit ListMouse(QAbstractItemView* view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint pos = e->position().toPoint();
        int code = 0;
        if (type == QEvent::MouseButtonDblClick && e->button() == Qt::LeftButton) {
            code = NM_DBLCLK;
            m_afterDoubleClick = true;
        } else if (type == QEvent::MouseButtonRelease && e->button() == Qt::LeftButton) {
            // The release that ends a double click is not a click of its own.
            code = m_afterDoubleClick ? 0 : NM_CLICK;
            m_afterDoubleClick = false;
        } else if (type == QEvent::MouseButtonRelease && e->button() == Qt::RightButton) {
            code = NM_RCLICK;
        }
        if (code == 0)
            return false;
        const QModelIndex index = m_view->indexAt(pos);
        NMITEMACTIVATE nm;
        nm.hdr.code = code;
        nm.iItem = index.isValid() ? index.row() : -1;
        nm.iSubItem = index.isValid() ? index.column() : 0;
        const QPoint client = pos + m_view->viewport()->pos();
        nm.ptAction = POINT{client.x(), client.y()};
        if (auto* model = ListModelOf(m_view); model != nullptr && index.isValid())
            nm.lParam = model->m_rows[size_t(index.row())].data;
        NotifyRecord(m_view, &nm.hdr);
        return false;
    }

private:
    QAbstractItemView* m_view;
    bool m_afterDoubleClick = false;
};

void Wire(QAbstractItemView* view, ListModel* model, DWORD style)
{
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode((style & LVS_SINGLESEL) != 0 ? QAbstractItemView::SingleSelection
                                                        : QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if ((style & WS_BORDER) == 0)
        view->setFrameShape(QFrame::NoFrame);
    view->viewport()->installEventFilter(new ListMouse(view));
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [view, model](const QItemSelection& on, const QItemSelection& off) {
                         for (const QModelIndex& i : on.indexes()) {
                             if (i.column() == 0)
                                 SendItemChanged(view, i.row(), LVIS_SELECTED, 0, model->m_rows[size_t(i.row())].data);
                         }
                         for (const QModelIndex& i : off.indexes()) {
                             if (i.column() == 0 && i.row() < int(model->m_rows.size()))
                                 SendItemChanged(view, i.row(), 0, LVIS_SELECTED, model->m_rows[size_t(i.row())].data);
                         }
                     });
}

class ReportView : public QTreeView {
public:
    explicit ReportView(QWidget* parent) : QTreeView(parent) {}
};

class IconView : public QListView {
public:
    explicit IconView(QWidget* parent) : QListView(parent) {}
};

} // namespace

ListModel::ListModel(QAbstractItemView* view) : QAbstractTableModel(view), m_view(view) {}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, int(m_columns.size()));
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return QVariant();
    const ListRow& row = m_rows[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column < int(row.texts.size()) ? uirt::ToQ(row.texts[size_t(column)]) : QString();
    case Qt::DecorationRole: {
        CImageList* images = qobject_cast<QTreeView*>(m_view) != nullptr ? m_smallImages : m_normalImages;
        if (column != 0 || images == nullptr || row.image < 0)
            return QVariant();
        return images->ImageAt(row.image);
    }
    case Qt::CheckStateRole:
        if (column != 0 || (m_exStyle & LVS_EX_CHECKBOXES) == 0)
            return QVariant();
        return row.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        COLORREF text = m_textColor;
        COLORREF back = m_textBkColor;
        CustomDrawColors(index.row(), &text, &back);
        return ColorVariant(role == Qt::ForegroundRole ? text : back);
    }
    case Qt::TextAlignmentRole:
        if (column < int(m_columns.size())) {
            const int format = m_columns[size_t(column)].format & 3;
            return int((format == LVCFMT_RIGHT ? Qt::AlignRight : format == LVCFMT_CENTER ? Qt::AlignHCenter
                                                                                        : Qt::AlignLeft)
                       | Qt::AlignVCenter);
        }
        return QVariant();
    default:
        return QVariant();
    }
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= int(m_rows.size()))
        return false;
    ListRow& row = m_rows[size_t(index.row())];
    const bool checked = value.toInt() == Qt::Checked;
    if (row.checked == checked)
        return true;
    row.checked = checked;
    RowChanged(index.row());
    SendItemChanged(m_view, index.row(), StateImageBits(checked), StateImageBits(!checked), row.data);
    return true;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section >= int(m_columns.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return uirt::ToQ(m_columns[size_t(section)].heading);
    return QVariant();
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && (m_exStyle & LVS_EX_CHECKBOXES) != 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void ListModel::RowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
}

// Item-level custom drawing: the parent answers the pre-paint stage with
// CDRF_NOTIFYITEMDRAW to be asked for each row's colours.
bool ListModel::CustomDrawColors(int row, COLORREF* text, COLORREF* back) const
{
    NMLVCUSTOMDRAW cd;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    const LRESULT answer = NotifyRecord(m_view, &cd.nmcd.hdr);
    if ((answer & CDRF_NOTIFYITEMDRAW) == 0)
        return false;
    NMLVCUSTOMDRAW item;
    item.nmcd.hdr.code = NM_CUSTOMDRAW;
    item.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    item.nmcd.dwItemSpec = std::uintptr_t(row);
    item.nmcd.lItemlParam = m_rows[size_t(row)].data;
    item.clrText = *text;
    item.clrTextBk = *back;
    NotifyRecord(m_view, &item.nmcd.hdr);
    *text = item.clrText;
    *back = item.clrTextBk;
    return true;
}

ListModel* ListModelOf(const QWidget* widget)
{
    auto* view = qobject_cast<const QAbstractItemView*>(widget);
    return view != nullptr ? dynamic_cast<ListModel*>(view->model()) : nullptr;
}

QAbstractItemView* ListViewOf(QWidget* widget)
{
    return ListModelOf(widget) != nullptr ? qobject_cast<QAbstractItemView*>(widget) : nullptr;
}

QAbstractItemView* CreateListView(DWORD style, QWidget* parent)
{
    if ((style & LVS_TYPEMASK) == LVS_REPORT) {
        auto* tree = new ReportView(parent);
        tree->setRootIsDecorated(false);
        tree->setItemsExpandable(false);
        tree->setUniformRowHeights(true);
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionsMovable(false);
        auto* model = new ListModel(tree);
        Wire(tree, model, style);
        QObject::connect(tree->header(), &QHeaderView::sectionClicked, tree, [tree](int column) {
            NMLISTVIEW nm;
            nm.hdr.code = LVN_COLUMNCLICK;
            nm.iSubItem = column;
            NotifyRecord(tree, &nm.hdr);
        });
        return tree;
    }
    auto* icons = new IconView(parent);
    icons->setViewMode(QListView::IconMode);
    icons->setMovement(QListView::Static);
    icons->setResizeMode(QListView::Adjust);
    auto* model = new ListModel(icons);
    Wire(icons, model, style);
    return icons;
}

} // namespace ctl
