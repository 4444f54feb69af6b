#include "process/CZorvatrailmOffest.h"

#include "platform/ui/CListCtrl.h"
#include "tests/process/batch_fixture.h"

namespace {

constexpr int IDC_SHAPES = 1008, IDC_VALUE = 1009, IDC_MODIFY = 1178, IDC_DEFAULT = 1002, IDC_CLEAR = 1079;
constexpr int IDC_RADIUS_AT_LEAST = 1015, IDC_VALUE_LARGE = 1016, IDC_RADIUS_BELOW = 1099, IDC_VALUE_SMALL = 1103;
constexpr int IDC_FILL = 1179;

class CompensationTableTest : public BatchTest {
protected:
    // A circle of radius 60, one of radius 15, an ellipse, a line.
    void DrawShapes()
    {
        big = Circle(0, 0, 60);
        small = Circle(100, 0, 15);
        ++g_UnitIdCounter;
        ellipse = Add(new CEllipse());
        line = Line(0, 100, 50, 100);
    }
    void ShowTable()
    {
        drv->view->OnBatchPaths();
        batch->PressButton(1179);
    }
    CListCtrl* List() const { return dynamic_cast<CListCtrl*>(table->GetDlgItem(IDC_SHAPES)); }
    std::vector<CString> Row(int row) const
    {
        std::vector<CString> cells;
        for (int c = 0; c < 4; ++c)
            cells.push_back(List()->GetItemText(row, c));
        return cells;
    }
    void ClickRow(int row) { dlgtest::ClickListRow(List(), row); }
    // Green label ink beside the small circle (its label starts left of its mid point).
    int LabelInk() const
    {
        const POINT c = drv->Pixel(x_Vector(100, 0));
        const RECT around{c.x - 120, c.y - 40, c.x + 120, c.y + 40};
        return dlgtest::CountPixels(drv->view, around, [](COLORREF p) {
            return GetGValue(p) > 200 && GetRValue(p) < 60 && GetBValue(p) < 60;
        });
    }

    CUnit* big = nullptr;
    CUnit* small = nullptr;
    CUnit* ellipse = nullptr;
    CUnit* line = nullptr;
};

using Cells = std::vector<CString>;

TEST_F(CompensationTableTest, ListsTheShapesAndEditsTheirCompensation)
{
    DrawShapes();
    ShowTable();
    EXPECT_TRUE(table->IsWindowVisible());
    EXPECT_FALSE(batch->IsWindowVisible()) << "the table takes the batch dialog's place";
    EXPECT_EQ(Text(table, IDC_DEFAULT), CString(u"默认值： 0.1 mm ，不设定则为读取轨迹默认值"));
    ASSERT_EQ(List()->GetItemCount(), 4);
    EXPECT_EQ(dlgtest::ListHeadings(List()), (Cells{u"图形编号", u"类型", u"半径", u"补偿值"}));
    EXPECT_EQ(Row(0), (Cells{u"1", u"圆形", u"60.0", u"-"}));
    EXPECT_EQ(Row(2), (Cells{u"3", u"椭圆", u"-", u"-"}));
    EXPECT_EQ(Row(3), (Cells{u"4", u"多边", u"-", u"-"}));

    drv->SetView(2.0, 250, 300);
    ClickRow(1);
    EXPECT_EQ(Text(table, IDC_VALUE), CString());
    EXPECT_EQ(small->selected, 1);
    EXPECT_EQ(big->selected, 0);
    Type(table, IDC_VALUE, u"0.05");
    Click(table, IDC_MODIFY);
    EXPECT_EQ(g_CompensationPreview, 1) << "the view labels the value";
    EXPECT_GT(LabelInk(), 0);
    KeepSnapshot(drv->view, u"compensation_labels_view.png");
    EXPECT_EQ(small->compensation, 0.05);
    EXPECT_EQ(Row(1)[3], CString(u"0.05"));
    EXPECT_EQ(g_drawingModified, 1) << "the drawing has changed";
    KeepSnapshot(table, u"compensation_table.png");

    ClickRow(1);
    EXPECT_EQ(Text(table, IDC_VALUE), CString(u"0.05"));
    // 0 gives the shape the default back (an empty value is refused).
    Type(table, IDC_VALUE, u"0");
    Click(table, IDC_MODIFY);
    EXPECT_EQ(small->compensation, 0.0);
    EXPECT_EQ(Row(1)[3], CString(u"-"));
    EXPECT_EQ(LabelInk(), 0) << "no label for the default";
}

TEST_F(CompensationTableTest, LabelsLeaveTheViewWhenACommandStarts)
{
    DrawShapes();
    small->compensation = 0.2;
    drv->SetView(2.0, 250, 300);
    drv->view->OnBatchPaths();
    EXPECT_GT(LabelInk(), 0);
    drv->Start(1);
    EXPECT_EQ(g_CompensationPreview, 0);
    EXPECT_EQ(LabelInk(), 0);
}

TEST_F(CompensationTableTest, FillGivesCirclesTheirValueByRadius)
{
    DrawShapes();
    ellipse->compensation = 0.3;
    ShowTable();
    // Factory: radius 50 or more gets 0.1, below 0 gets 0.
    Click(table, IDC_FILL);
    EXPECT_EQ(big->compensation, 0.1);
    EXPECT_EQ(small->compensation, 0.0);
    EXPECT_EQ(ellipse->compensation, 0.3);
    EXPECT_EQ(line->compensation, 0.0);
    // Both thresholds hold for radius 15: the first wins.
    Type(table, IDC_RADIUS_AT_LEAST, u"10");
    Type(table, IDC_VALUE_LARGE, u"0.2");
    Type(table, IDC_RADIUS_BELOW, u"20");
    Type(table, IDC_VALUE_SMALL, u"0.07");
    Click(table, IDC_FILL);
    EXPECT_EQ(small->compensation, 0.2);
    EXPECT_EQ(Row(1)[3], CString(u"0.2"));

    g_SettingsDirty = 0;
    table->PressButton(IDCANCEL);
    EXPECT_FALSE(table->IsWindowVisible());
    EXPECT_TRUE(batch->IsWindowVisible()) << "the batch dialog comes back";
    EXPECT_EQ(g_MachiningSettings.compRadiusAtLeast, 10.0);
    EXPECT_EQ(g_MachiningSettings.compValueSmall, 0.07);
    EXPECT_EQ(g_SettingsDirty, 1);
}

// The batch start cleared every unit's compensation (and taper angle) with
// the wear marks, so the table's values were gone at the next batch.
TEST_F(CompensationTableTest, BatchStartKeepsTheShapesValues)
{
    DrawShapes();
    big->compensation = 0.12;
    big->taperAngle = 1.5;
    big->wearMarked = 1;
    ShowTable();
    EXPECT_EQ(big->compensation, 0.12);
    EXPECT_EQ(big->taperAngle, 1.5);
    EXPECT_EQ(big->wearMarked, 0);
    EXPECT_EQ(Row(0)[3], CString(u"0.12"));
}

TEST_F(CompensationTableTest, ClearAllAsksFirst)
{
    DrawShapes();
    big->compensation = 0.1;
    ShowTable();
    {
        MessageBoxScript boxes;
        boxes.Expect(CString(u"确定清空所有补偿值？"), IDNO);
        Click(table, IDC_CLEAR);
    }
    EXPECT_EQ(big->compensation, 0.1);
    {
        MessageBoxScript boxes;
        boxes.Expect(CString(u"确定清空所有补偿值？"), IDYES);
        Click(table, IDC_CLEAR);
    }
    EXPECT_EQ(big->compensation, 0.0);
    EXPECT_EQ(Row(0)[3], CString(u"-"));
}

// The table kept drawing-list indexes: after an edit freed a unit, a row
// named the unit that moved into its place.
TEST_F(CompensationTableTest, RowsFollowTheirUnitsAfterTheDrawingChanges)
{
    DrawShapes();
    ShowTable();
    CUnit* gone = big;
    drv->doc->FreeUnits([gone](const CUnit* u) { return u == gone; });
    table->FillShapeList();
    EXPECT_EQ(Row(0), (Cells{u"1", u"-", u"-", u"-"}));
    ClickRow(0);
    Type(table, IDC_VALUE, u"0.4");
    Click(table, IDC_MODIFY);
    EXPECT_EQ(small->compensation, 0.0);
    EXPECT_EQ(Row(0)[3], CString(u"-"));

    ClickRow(1);
    Type(table, IDC_VALUE, u"0.04");
    Click(table, IDC_MODIFY);
    EXPECT_EQ(small->compensation, 0.04);
    EXPECT_EQ(ellipse->compensation, 0.0);
}

// Clicking a row made every live unit visible, so a rectangle replaced by
// its edges was drawn again under them.
TEST_F(CompensationTableTest, RowClickShowsTheClickedShapeOnly)
{
    DrawShapes();
    CUnit* replaced = Circle(200, 0, 30);
    replaced->role = 10;                    // listed by nobody
    ShowTable();
    replaced->visible = 0;
    small->visible = 0;
    ClickRow(1);
    EXPECT_EQ(small->visible, 1);
    EXPECT_EQ(replaced->visible, 0);
    EXPECT_EQ(replaced->selected, 0);
}

TEST_F(CompensationTableTest, DrawingWithoutClosedShapesListsNothing)
{
    ShowTable();
    EXPECT_EQ(List()->GetItemCount(), 0);
    Click(table, IDC_MODIFY);                   // no row: nothing happens
    EXPECT_EQ(g_drawingModified, 0);
}

} // namespace
