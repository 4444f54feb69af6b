#include "platform/core/CArchive.h"

#include "platform/core/CObArray.h"
#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace archive_test {

// Serialisable test classes; each carries one 32-bit value.
class A : public CObject {
public:
    DECLARE_SERIAL(A)
    A() = default;
    explicit A(int v) : value(v) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << value;
        else
            ar >> value;
    }
    int value = 0;
};

class B : public A {
public:
    DECLARE_SERIAL(B)
    B() = default;
    explicit B(int v) : A(v) {}
};

// Holds a reference to another object, itself included.
class N : public CObject {
public:
    DECLARE_SERIAL(N)
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << peer;
        else
            ar >> peer;
    }
    CObject* peer = nullptr;
};

// Creatable but not serialisable.
class D : public CObject {
public:
    DECLARE_DYNCREATE(D)
};

IMPLEMENT_SERIAL(A, CObject, 1)
IMPLEMENT_SERIAL(B, A, 1)
IMPLEMENT_SERIAL(N, CObject, 1)
IMPLEMENT_DYNCREATE(D, CObject)

} // namespace archive_test

using namespace archive_test;

namespace {

// Frees whatever a test read.
struct Owned {
    ~Owned()
    {
        for (CObject* o : objects)
            delete o;
    }
    std::vector<CObject*> objects;
};

} // namespace

TEST(CObject, RuntimeClassesByNameAndKind)
{
    EXPECT_EQ(RUNTIME_CLASS(A), CRuntimeClass::FromName("A"));
    EXPECT_EQ(RUNTIME_CLASS(B), CRuntimeClass::FromName(u"B"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("Nothing"));
    B b;
    EXPECT_TRUE(b.IsKindOf(RUNTIME_CLASS(A)));
    EXPECT_TRUE(b.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(A().IsKindOf(RUNTIME_CLASS(B)));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(B)->CreateObject());
    EXPECT_EQ(RUNTIME_CLASS(B), made->GetRuntimeClass());
    EXPECT_EQ(1u, RUNTIME_CLASS(B)->m_wSchema);
    EXPECT_FALSE(RUNTIME_CLASS(D)->IsSerializable());
}

TEST(CArchive, ClassRecordsClassReferencesAndBackReferences)
{
    // One counter for classes and objects: A=1, a1=2, a2=3, B=4, b=5, a3=6.
    const Bytes expected = HexBytes(
        "07 00 "                                // element count
        "FF FF 01 00 01 00 'A' 11 00 00 00 "    // new class A (1), object 2
        "01 80 22 00 00 00 "                    // class A again, object 3
        "FF FF 01 00 01 00 'B' 33 00 00 00 "    // new class B (4), object 5
        "01 80 44 00 00 00 "                    // class A, object 6
        "02 00 "                                // object 2 again
        "05 00 "                                // object 5 again
        "00 00");                               // null
    A a1(0x11), a2(0x22), a3(0x44);
    B b(0x33);
    CObArray list;
    for (CObject* o : std::initializer_list<CObject*>{&a1, &a2, &b, &a3, &a1, &b, nullptr})
        list.Add(o);
    EXPECT_EQ(expected, Stored([&](CArchive& ar) { list.Serialize(ar); }));

    Loaded(expected, [](CArchive& ar) {
        CObArray read;
        read.Serialize(ar);
        ASSERT_EQ(7, read.GetSize());
        Owned owned{{read[0], read[1], read[2], read[3]}};
        const CRuntimeClass* kClasses[] = {RUNTIME_CLASS(A), RUNTIME_CLASS(A), RUNTIME_CLASS(B), RUNTIME_CLASS(A)};
        const int kValues[] = {0x11, 0x22, 0x33, 0x44};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(kClasses[i], read[i]->GetRuntimeClass());
            EXPECT_EQ(kValues[i], static_cast<A*>(read[i])->value);
        }
        EXPECT_EQ(read[0], read[4]);
        EXPECT_EQ(read[2], read[5]);
        EXPECT_EQ(nullptr, read[6]);
    });
}

TEST(CArchive, ObjectIsKnownBeforeItsOwnDataIsRead)
{
    N n;
    n.peer = &n;
    const Bytes expected = HexBytes("FF FF 01 00 01 00 'N' 02 00");
    EXPECT_EQ(expected, Stored([&](CArchive& ar) { ar << &n; }));
    Loaded(expected, [](CArchive& ar) {
        CObject* read = nullptr;
        ar >> read;
        std::unique_ptr<CObject> owned(read);
        ASSERT_NE(nullptr, read);
        EXPECT_EQ(read, static_cast<N*>(read)->peer);
    });
}

TEST(CArchive, IndicesFrom7FFFUseTheBigTags)
{
    // Class A is 1; its objects take 2 .. 0x8000; then B is 0x8001 and its
    // object 0x8002, the second B 0x8003, the last A 0x8004.
    const int kA = 0x7FFF;
    std::vector<std::unique_ptr<A>> as;
    for (int i = 0; i < kA; ++i)
        as.push_back(std::make_unique<A>(i));
    B b1(0xB1), b2(0xB2);
    A last(0xA0);
    Bytes stored = Stored([&](CArchive& ar) {
        for (auto& a : as)
            ar << a.get();
        ar << &b1 << &b2 << &last;
        ar << &b1;                   // index 0x8002
        ar << as[0x7FFC].get();      // index 0x7FFE, the last small one
        ar << as[0x7FFD].get();      // index 0x7FFF
    });
    const size_t tail = 11 + (kA - 1) * 6u;
    ASSERT_EQ(tail + 41, stored.size());
    const Bytes expectedTail = HexBytes(
        "FF FF 01 00 01 00 'B' B1 00 00 00 "   // new class B
        "FF 7F 01 80 00 80 B2 00 00 00 "       // class 0x8001 in the big form
        "01 80 A0 00 00 00 "                   // class A
        "FF 7F 02 80 00 00 "                   // object 0x8002
        "FE 7F "                               // object 0x7FFE
        "FF 7F FF 7F 00 00");                  // object 0x7FFF
    EXPECT_EQ(expectedTail, Bytes(stored.begin() + static_cast<long>(tail), stored.end()));

    Loaded(stored, [&](CArchive& ar) {
        Owned owned;
        std::vector<CObject*> read;
        for (int i = 0; i < kA + 6; ++i) {
            read.push_back(ar.ReadObject(nullptr));
            if (i < kA + 3)
                owned.objects.push_back(read.back());
        }
        EXPECT_EQ(kA - 1, static_cast<A*>(read[kA - 1])->value);
        EXPECT_EQ(RUNTIME_CLASS(B), read[kA]->GetRuntimeClass());
        EXPECT_EQ(RUNTIME_CLASS(B), read[kA + 1]->GetRuntimeClass());
        EXPECT_EQ(0xB2, static_cast<A*>(read[kA + 1])->value);
        EXPECT_EQ(RUNTIME_CLASS(A), read[kA + 2]->GetRuntimeClass());
        EXPECT_EQ(read[kA], read[kA + 3]);
        EXPECT_EQ(read[0x7FFC], read[kA + 4]);
        EXPECT_EQ(read[0x7FFD], read[kA + 5]);
    });
}

TEST(CArchive, BadObjectStreamsThrowTheArchiveException)
{
    auto readOne = [](CArchive& ar) { std::unique_ptr<CObject> o(ar.ReadObject(nullptr)); };
    auto readTwo = [](CArchive& ar) {
        std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
        std::unique_ptr<CObject> second(ar.ReadObject(nullptr));
    };
    const struct { const char* name; const char* hex; int cause; std::function<void(CArchive&)> read; } kCases[] = {
        {"unknown class name", "FF FF 01 00 01 00 'Z' 00 00 00 00", CArchiveException::badClass, readOne},
        {"class that is not serialisable", "FF FF FF FF 01 00 'D'", CArchiveException::badClass, readOne},
        {"class name of 64 bytes", "FF FF 01 00 40 00", CArchiveException::badClass, readOne},
        {"wrong schema", "FF FF 02 00 01 00 'A' 00 00 00 00", CArchiveException::badSchema, readOne},
        {"class reference to nothing", "01 80 00 00 00 00", CArchiveException::badIndex, readOne},
        {"back-reference to nothing", "09 00", CArchiveException::badIndex, readOne},
        {"big back-reference to nothing", "FF 7F 00 00 01 00", CArchiveException::badIndex, readOne},
        {"class reference to an object", "FF FF 01 00 01 00 'A' 11 00 00 00 02 80 11 00 00 00",
         CArchiveException::badIndex, readTwo},
        {"back-reference to a class", "FF FF 01 00 01 00 'A' 11 00 00 00 01 00", CArchiveException::badIndex, readTwo},
        {"object data cut short", "FF FF 01 00 01 00 'A' 11 00", CArchiveException::endOfFile, readOne},
        {"class name cut short", "FF FF 01 00 05 00 'AB'", CArchiveException::endOfFile, readOne},
        {"object array, count 0xFFFFFFFF", "FF FF FF FF FF FF 00 00",
         CArchiveException::endOfFile, [](CArchive& ar) { CObArray a; a.Serialize(ar); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.cause, LoadFailure(HexBytes(c.hex), c.read));
    }
}

TEST(CArchive, RequestedClassMustMatch)
{
    const Bytes storedA = HexBytes("FF FF 01 00 01 00 'A' 07 00 00 00");
    EXPECT_EQ(CArchiveException::badClass, LoadFailure(storedA, [](CArchive& ar) {
        B* b = nullptr;
        ar >> b;
        delete b;
    }));
    Loaded(HexBytes("FF FF 01 00 01 00 'B' 07 00 00 00"), [](CArchive& ar) {
        A* a = nullptr;
        ar >> a;
        std::unique_ptr<A> owned(a);
        ASSERT_NE(nullptr, a);
        EXPECT_EQ(RUNTIME_CLASS(B), a->GetRuntimeClass());
    });
}

// A run of one class tag skips the look-up; the tag must still be checked
// against each new requested class, and other tags must not be taken for it.
TEST(CArchive, RepeatedClassTagIsCheckedForEachRequestedClass)
{
    const Bytes run = HexBytes(
        "FF FF 01 00 01 00 'A' 07 00 00 00 "    // new class A (1), object 2
        "01 80 08 00 00 00 "                    // class A again, object 3
        "01 80 09 00 00 00 "                    // and again, object 4
        "00 00 "                                // null
        "01 80 0A 00 00 00");                   // class A, asked for as B
    Loaded(run, [](CArchive& ar) {
        Owned owned;
        for (int want : {7, 8, 9}) {
            A* a = nullptr;
            ar >> a;
            ASSERT_NE(nullptr, a);
            owned.objects.push_back(a);
            EXPECT_EQ(RUNTIME_CLASS(A), a->GetRuntimeClass());
            EXPECT_EQ(want, a->value);
        }
        A* none = reinterpret_cast<A*>(&owned);
        ar >> none;
        EXPECT_EQ(nullptr, none);
        B* b = nullptr;
        try {
            ar >> b;
            ADD_FAILURE() << "class A read as B";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(CArchiveException::badClass, e.m_cause);
        }
        delete b;
    });
}

// Past 0x7FFF objects a run of one class repeats the tag's 32-bit form.
TEST(CArchive, RepeatedBigClassTagIsCheckedForEachRequestedClass)
{
    std::vector<std::unique_ptr<A>> as;
    for (int i = 0; i < 0x7FFF; ++i)
        as.push_back(std::make_unique<A>(i));
    B b1(0xB1), b2(0xB2), b3(0xB3);
    const Bytes stored = Stored([&](CArchive& ar) {
        for (auto& a : as)
            ar << a.get();
        ar << &b1 << &b2 << &b3;
    });
    const Bytes big = HexBytes("FF 7F 01 80 00 80");     // class 0x8001 (B) in the big form
    ASSERT_EQ(Bytes(stored.end() - 20, stored.end() - 14), big);
    ASSERT_EQ(Bytes(stored.end() - 10, stored.end() - 4), big);
    Loaded(stored, [&](CArchive& ar) {
        Owned owned;
        for (int i = 0; i < 0x7FFF + 3; ++i) {
            const CRuntimeClass* requested = i < 0x7FFF + 2 ? RUNTIME_CLASS(A) : RUNTIME_CLASS(N);
            if (i == 0x7FFF + 2) {
                EXPECT_THROW(ar.ReadObject(requested), CArchiveException);
                break;
            }
            owned.objects.push_back(ar.ReadObject(requested));
        }
        ASSERT_EQ(owned.objects.size(), 0x7FFFu + 2);
        EXPECT_EQ(RUNTIME_CLASS(B), owned.objects.back()->GetRuntimeClass());
        EXPECT_EQ(0xB2, static_cast<A*>(owned.objects.back())->value);
    });
}

TEST(CArchive, LoadFilterRefusesOtherClassesBackReferencesAndNull)
{
    auto onlyA = [](const CRuntimeClass* c) { return c == RUNTIME_CLASS(A); };
    auto readList = [&](CArchive& ar) {
        ar.SetLoadFilter(onlyA);
        CObArray list;
        try {
            list.Serialize(ar);
        } catch (...) {
            // Objects read before the failure stay in the list for the caller.
            for (CObject* o : list)
                delete o;
            throw;
        }
        for (CObject* o : list)
            delete o;
    };
    const struct { const char* name; const char* hex; int cause; } kCases[] = {
        {"only A", "02 00 FF FF 01 00 01 00 'A' 01 00 00 00 01 80 02 00 00 00", -1},
        {"a B among As", "02 00 FF FF 01 00 01 00 'A' 01 00 00 00 FF FF 01 00 01 00 'B' 02 00 00 00",
         CArchiveException::badClass},
        {"a back-reference", "02 00 FF FF 01 00 01 00 'A' 01 00 00 00 02 00", CArchiveException::badClass},
        {"a null", "01 00 00 00", CArchiveException::badClass},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.cause, LoadFailure(HexBytes(c.hex), readList));
    }
}

TEST(CArchive, StoringAClassThatIsNotSerialisableThrows)
{
    D d;
    int cause = -1;
    try {
        Stored([&](CArchive& ar) { ar << &d; });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(CArchiveException::badClass, cause);
}
