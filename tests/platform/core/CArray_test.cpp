#include "platform/core/CArray.h"

#include "platform/core/CDWordArray.h"
#include "platform/core/CMap.h"
#include "platform/core/CObArray.h"
#include "platform/core/CStringArray.h"
#include "platform/core/CTypedPtrArray.h"
#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::vector<int> Items(const CArray<int>& a)
{
    return std::vector<int>(a.GetData(), a.GetData() + a.GetSize());
}

class Unit : public CObject {
public:
    explicit Unit(int i) : id(i) {}
    int id;
};

} // namespace

TEST(CArray, IndexOutsideThrowsInvalidArgument)
{
    CArray<int> a;
    a.Add(1);
    a.Add(2);
    CObArray ob;
    ob.Add(nullptr);
    CTypedPtrArray<CObArray, Unit*> typed;
    Unit u(1);
    typed.Add(&u);
    const std::function<void()> kCases[] = {
        [&] { a.GetAt(2); },
        [&] { a.GetAt(-1); },
        [&] { a[2] = 0; },
        [&] { a.SetAt(5, 0); },
        [&] { a.ElementAt(-3); },
        [&] { a.RemoveAt(1, 2); },
        [&] { a.RemoveAt(-1); },
        [&] { a.InsertAt(-1, 0); },
        [&] { a.SetSize(-1); },
        [&] { ob.GetAt(1); },
        [&] { typed.GetAt(1); },
        [&] { typed[-1] = nullptr; },
        [&] { CArray<int>().GetAt(0); },
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_THROW(kCases[i](), CInvalidArgException);
    }
    EXPECT_EQ((std::vector<int>{1, 2}), Items(a));
}

TEST(CArray, InsertRemoveAppendCopy)
{
    CArray<int> a;
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(i - 1, a.Add(i));
    a.InsertAt(1, 9, 2);
    EXPECT_EQ((std::vector<int>{1, 9, 9, 2, 3, 4}), Items(a));
    a.InsertAt(6, a[0]);                 // at the end, from its own element
    a.RemoveAt(1, 2);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 1}), Items(a));
    EXPECT_EQ(5, a.Append(a));
    EXPECT_EQ(10, a.GetSize());
    a.SetAtGrow(11, 7);
    EXPECT_EQ(12, a.GetCount());
    EXPECT_EQ(0, a[10]);
    EXPECT_EQ(11, a.GetUpperBound());
    CArray<int> b;
    b.Copy(a);
    EXPECT_EQ(Items(a), Items(b));
    b.SetSize(2);
    EXPECT_EQ((std::vector<int>{1, 2}), Items(b));
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
}

// Strings own heap memory: every move, insert and removal must construct
// and destroy them exactly once (the sanitizer build sees a slip).
TEST(CArray, StringElementsSurviveGrowthInsertAndRemoval)
{
    const CString kLong(u"a text long enough not to fit a short-string buffer");
    CArray<CString, const CString&> a;
    for (int i = 0; i < 9; ++i)
        a.Add(kLong + CString(char16_t(u'0' + i)));
    a.InsertAt(2, CString(u"x"), 3);
    a.InsertAt(0, a[5]);                 // from its own element
    a.RemoveAt(3, 2);
    ASSERT_EQ(11, a.GetSize());
    EXPECT_EQ(kLong + u"2", a[0]);
    EXPECT_EQ(kLong + u"0", a[1]);
    EXPECT_EQ(CString(u"x"), a[3]);
    EXPECT_EQ(kLong + u"8", a[10]);
    a.Append(a);
    CArray<CString, const CString&> b(a);
    a.SetSize(1);
    a.FreeExtra();
    EXPECT_EQ(22, b.GetSize());
    EXPECT_EQ(kLong + u"8", b[21]);
    b.RemoveAll();
    b.FreeExtra();
    EXPECT_TRUE(b.IsEmpty());
}

TEST(CArray, TypedPointerArrayGivesItsType)
{
    Unit u1(1), u2(2);
    CTypedPtrArray<CObArray, Unit*> list;
    list.Add(&u1);
    list.Add(&u2);
    Unit* first = list[0];
    EXPECT_EQ(1, first->id);
    list[1] = &u1;
    EXPECT_EQ(&u1, list.GetAt(1));
    int sum = 0;
    for (Unit* u : list)
        sum += u->id;
    EXPECT_EQ(2, sum);
}

TEST(CArray, RecordArraysArchiveAsCountAndRawElements)
{
    CDWordArray words;
    words.Add(0x01020304);
    words.Add(0xFFFFFFFF);
    const Bytes expected = HexBytes("02 00 04 03 02 01 FF FF FF FF");
    EXPECT_EQ(expected, Stored([&](CArchive& ar) { words.Serialize(ar); }));
    Loaded(expected, [](CArchive& ar) {
        CDWordArray read;
        read.Add(7);
        read.Serialize(ar);
        ASSERT_EQ(2, read.GetSize());
        EXPECT_EQ(0x01020304u, read[0]);
        EXPECT_EQ(0xFFFFFFFFu, read[1]);
    });
}

TEST(CArray, StringArraysArchiveAsCountAndWideStrings)
{
    CStringArray texts;
    texts.Add(u"端");
    texts.Add(CString());
    const Bytes expected = HexBytes("02 00 FF FE FF 01 EF 7A FF FE FF 00");
    EXPECT_EQ(expected, Stored([&](CArchive& ar) { texts.Serialize(ar); }));
    Loaded(expected, [](CArchive& ar) {
        CStringArray read;
        read.Serialize(ar);
        ASSERT_EQ(2, read.GetSize());
        EXPECT_EQ(CString(u"端"), read[0]);
        EXPECT_TRUE(read[1].IsEmpty());
    });
    EXPECT_EQ(CArchiveException::endOfFile, LoadFailure(HexBytes("FF FF FF FF FF FF 00"), [](CArchive& ar) {
        CStringArray read;
        read.Serialize(ar);
    }));
}

TEST(CMap, LookupSetRemoveAndIterateInKeyOrder)
{
    CMap<int, int, CString, const CString&> map;
    map.SetAt(30, u"c");
    map[10] = u"a";
    map.SetAt(20, u"b");
    map.SetAt(30, u"C");
    EXPECT_EQ(3, map.GetCount());
    CString value;
    EXPECT_TRUE(map.Lookup(30, value));
    EXPECT_EQ(CString(u"C"), value);
    EXPECT_FALSE(map.Lookup(40, value));
    EXPECT_EQ(CString(u"C"), value);
    EXPECT_TRUE(map.RemoveKey(20));
    EXPECT_FALSE(map.RemoveKey(20));

    std::vector<int> keys;
    CString texts;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        int key;
        CString text;
        map.GetNextAssoc(pos, key, text);
        keys.push_back(key);
        texts += text;
    }
    EXPECT_EQ((std::vector<int>{10, 30}), keys);
    EXPECT_EQ(CString(u"aC"), texts);
    map.RemoveAll();
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

// Appends and inserts that fit reuse the block; growth stays geometric, so a
// long run of small appends neither reallocates each time nor runs away.
TEST(CArray, RepeatedAppendsKeepTheCapacityNearTheSize)
{
    CompactVector<int> v;
    const int seven[7] = {0, 1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 1000; ++i)
        v.insert(v.end(), seven, seven + 7);
    ASSERT_EQ(7000u, v.size());
    EXPECT_LE(v.capacity(), 2 * v.size());
    EXPECT_EQ(6, v[6999]);
    v.insert(v.begin() + 1, std::size_t{2}, 9);
    EXPECT_EQ((std::vector<int>{0, 9, 9, 1}), std::vector<int>(v.begin(), v.begin() + 4));
    CompactVector<int> grown;
    for (std::size_t n = 1; n <= 5000; ++n)
        grown.resize(n);
    EXPECT_LE(grown.capacity(), 2 * grown.size());
}
