#include "doc_fixture.h"

#include <functional>

#include "app/recovery_snapshot.h"
#include "geometry/CLine.h"

TEST_F(DocTest, LineUndoRedoFlipsTheDeletedByteOnly)
{
    CUnit* line = Add();
    doc->CommitUndoStep(0);
    EXPECT_EQ(g_undoCount, 1);
    EXPECT_EQ(g_undoStep, 2);

    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(line->deleted, 1);
    EXPECT_EQ(g_redoCount, 1);
    EXPECT_TRUE(doc->Redo());
    EXPECT_EQ(line->deleted, 0);
    ASSERT_EQ(doc->m_unitList.GetSize(), 1);
    EXPECT_EQ(doc->m_unitList[0], line);
    EXPECT_FALSE(doc->Redo());
}

TEST_F(DocTest, DeleteUndoBringsBackTheSameObject)
{
    CUnit* a = Add();
    CUnit* b = Add();
    doc->CommitUndoStep(0);
    doc->RecordDeleteAt(0);
    doc->RecordDeleteAt(5);     // outside: nothing
    doc->CommitUndoStep(0);
    EXPECT_EQ(a->deleted, 1);
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(a->deleted, 0);
    EXPECT_EQ(b->deleted, 0);
    EXPECT_EQ(doc->m_unitList[0], a);
}

TEST_F(DocTest, MoveOfThreeUnitsIsOneStep)
{
    MovableUnit* units[3] = {Add(), Add(), Add()};
    doc->CommitUndoStep(0);
    const x_Vector d(4.0, -2.0);
    for (int i = 0; i < 3; ++i) {
        units[i]->Move(d);
        doc->RecordTransformAt(i, d);
    }
    doc->CommitUndoStep(1);
    EXPECT_TRUE(doc->Undo());
    for (MovableUnit* u : units)
        EXPECT_EQ(u->extentMin, x_Vector(0.0, 0.0));
    EXPECT_TRUE(doc->Redo());
    for (MovableUnit* u : units)
        EXPECT_EQ(u->extentMin, x_Vector(4.0, -2.0));
}

TEST_F(DocTest, CreatedAndDeletedInOneStepIsOnlyADeletion)
{
    CUnit* a = Add();
    doc->RecordDelete(a);
    doc->CommitUndoStep(0);
    int creations = 0;
    for (CRest* r : doc->m_restList)
        creations += (r->m_flags == CRest::kCreation) ? 1 : 0;
    EXPECT_EQ(creations, 0);
    EXPECT_EQ(doc->m_restList.GetSize(), 1);
}

TEST_F(DocTest, OnlyHundredStepsCanBeUndone)
{
    std::vector<CUnit*> units;
    for (int i = 0; i < 101; ++i) {
        units.push_back(Add());
        doc->CommitUndoStep(0);
    }
    EXPECT_EQ(g_undoCount, 100);
    EXPECT_EQ(g_undoStep, 2);
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(doc->Undo()) << i;
    EXPECT_FALSE(doc->Undo());
    EXPECT_EQ(units[0]->deleted, 0) << "its step was purged when the ring came round";
    for (int i = 1; i < 101; ++i)
        EXPECT_EQ(units[i]->deleted, 1) << i;
}

TEST_F(DocTest, RingWrapDoesNotClaimAUnitOfThePreviousLap)
{
    CUnit* first = Add();           // stamped 1
    doc->CommitUndoStep(0);
    for (int i = 0; i < 99; ++i)
        doc->CommitUndoStep(0);     // steps 2..100 change nothing
    ASSERT_EQ(g_undoStep, 1);
    doc->CommitUndoStep(0);         // step 1 again, creating nothing
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(first->deleted, 0);
}

TEST_F(DocTest, NewEditAfterUndosDropsTheRedoTail)
{
    CUnit* a = Add();
    doc->CommitUndoStep(0);
    CUnit* b = Add();
    doc->CommitUndoStep(0);
    ASSERT_TRUE(doc->Undo());
    ASSERT_TRUE(doc->Undo());
    (void)a;
    (void)b;
    CUnit* c = Add();
    doc->CommitUndoStep(0);
    ASSERT_EQ(doc->m_unitList.GetSize(), 1) << "the undone creations are freed";
    EXPECT_EQ(doc->m_unitList[0], c);
    EXPECT_EQ(g_redoCount, 0);
    EXPECT_FALSE(doc->Redo());
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(c->deleted, 1);
}

TEST_F(DocTest, UndoOfAStepWhoseUnitsWereFreedBySaveTouchesNothingElse)
{
    CUnit* a = Add();
    CUnit* b = Add();
    doc->CommitUndoStep(0);
    doc->RecordDelete(a);
    doc->CommitUndoStep(0);
    ASSERT_TRUE(WriteRecoverySnapshot(*doc));   // frees a
    ASSERT_EQ(doc->m_unitList.GetSize(), 1);
    CUnit* c = Add();
    doc->CommitUndoStep(0);

    EXPECT_TRUE(doc->Undo());   // c's creation
    EXPECT_EQ(c->deleted, 1);
    EXPECT_TRUE(doc->Undo());   // the deletion of the freed a
    EXPECT_EQ(b->deleted, 0);
    EXPECT_TRUE(doc->Undo());   // a and b's creation
    EXPECT_EQ(b->deleted, 1);
    EXPECT_EQ(doc->m_unitList.GetSize(), 2);
    EXPECT_TRUE(doc->Redo());
    EXPECT_EQ(b->deleted, 0);
}

TEST_F(DocTest, FreedUnitsAreClearedFromEveryRecordAndTheView)
{
    struct Watcher : RecordingUi {
        void OnUnitFreed(CUnit* u) override { freed.push_back(u); }
        std::vector<CUnit*> freed;
    } watcher;
    g_pDocUi = &watcher;
    CUnit* a = Add();
    doc->CommitUndoStep(0);
    doc->RecordDelete(a);
    doc->CommitUndoStep(0);
    EXPECT_EQ(doc->FreeDeletedUnits(), 1);
    ASSERT_EQ(watcher.freed.size(), 1u);
    EXPECT_EQ(watcher.freed[0], a);
    for (CRest* r : doc->m_restList)
        EXPECT_FALSE(r->Lists(a));
    g_pDocUi = &ui;     // watcher ends before the document
}

TEST_F(DocTest, FreeingFromAnIndexLeavesEarlierUnitsAndKeepsTheOrder)
{
    CUnit* a = Add();
    CUnit* b = Add();
    CUnit* c = Add();
    CUnit* d = Add();
    a->temporary = c->temporary = d->temporary = 1;
    EXPECT_EQ(doc->FreeUnitsFrom(2, [](const CUnit* u) { return u->temporary != 0; }), 2);
    ASSERT_EQ(doc->m_unitList.GetSize(), 2);
    EXPECT_EQ(doc->m_unitList[0], a);
    EXPECT_EQ(doc->m_unitList[1], b);
}

TEST_F(DocTest, MovedLineGoesBackAndForth)
{
    ++g_UnitIdCounter;
    CLine* line = new CLine(0.0, 0.0, 10.0, 0.0);
    doc->AppendUnit(line);
    doc->CommitUndoStep(0);
    const x_Vector d(2.0, 3.0);
    line->Move(d);
    line->CommitTransform();
    doc->RecordTransformAt(0, d);
    doc->CommitUndoStep(1);
    ASSERT_EQ(line->GetStartPoint(), x_Vector(2.0, 3.0));

    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(line->GetStartPoint(), x_Vector(0.0, 0.0));
    EXPECT_EQ(line->GetEndPoint(), x_Vector(10.0, 0.0));
    EXPECT_TRUE(doc->Redo());
    EXPECT_EQ(line->GetEndPoint(), x_Vector(12.0, 3.0));
}

TEST_F(DocTest, EditedCopyReplacesItsSourceForOneStep)
{
    ++g_UnitIdCounter;
    CLine* source = new CLine(0.0, 0.0, 10.0, 0.0);
    doc->AppendUnit(source);
    doc->CommitUndoStep(0);

    CUnit* copy = doc->RecordDeleteObject(source);
    ASSERT_NE(copy, nullptr);
    copy->SetEndPoint(x_Vector(20.0, 0.0));
    doc->CommitUndoStep(0);
    EXPECT_EQ(source->deleted, 1);
    EXPECT_EQ(copy->deleted, 0);
    EXPECT_NE(copy->unitId, source->unitId);

    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(source->deleted, 0);
    EXPECT_EQ(copy->deleted, 1);
    EXPECT_TRUE(doc->Redo());
    EXPECT_EQ(source->deleted, 1);
    EXPECT_EQ(copy->deleted, 0);
}

// Before, edits never marked the drawing, so the exit snapshot missed them.
TEST_F(DocTest, EveryChangeOfTheDrawingMarksItModifiedAndAnEmptyStepDoesNot)
{
    const struct {
        const char* name;
        std::function<void(CZorvaDoc&)> change;
        bool marks;
    } kCases[] = {
        {"creation", [this](CZorvaDoc& d) { Add(); d.CommitUndoStep(0); }, true},
        {"deletion", [](CZorvaDoc& d) { d.RecordDeleteAt(0); d.CommitUndoStep(0); }, true},
        {"move", [](CZorvaDoc& d) { d.RecordTransformAt(1, x_Vector(1, 1)); d.CommitUndoStep(2); }, true},
        {"undo", [](CZorvaDoc& d) { d.Undo(); }, true},
        {"redo", [](CZorvaDoc& d) { d.Redo(); }, true},
        {"step without records", [](CZorvaDoc& d) { d.CommitUndoStep(0); }, false},
        {"undo with nothing left", [](CZorvaDoc& d) { g_undoCount = 0; d.Undo(); }, false},
    };
    Add();
    Add();
    doc->CommitUndoStep(0);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_drawingModified = 0;
        c.change(*doc);
        EXPECT_EQ(g_drawingModified, c.marks ? 1 : 0);
    }
}
