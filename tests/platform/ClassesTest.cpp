#include "platform/Classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TypInfo.h"

namespace krv {
namespace {

std::vector<std::string>* gLog = nullptr;

class TLogged : public TComponent {
    KRV_CLASS(TLogged)
    explicit TLogged(TComponent* owner) : TComponent(owner) {}
    ~TLogged() override {
        if (gLog) gLog->push_back("free " + Name());
    }
    TComponent* Watched = nullptr;
    bool wasLoadingInLoaded = false;
    int loadedCalls = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == Watched) Watched = nullptr;
    }
    void Loaded() override {
        wasLoadingInLoaded = IsLoading();
        ++loadedCalls;
        TComponent::Loaded();
    }
};

const TClassInfo& TLogged::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TLogged>("TLogged", TComponent::StaticClassInfo()).Creatable().Build();
    return info;
}

class ClassesTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    std::vector<std::string> log;
};

TEST_F(ClassesTest, OwnerFreesWhatItOwnsLastFirstAndFindsByNameIgnoringCase) {
    auto* owner = Create<TLogged>(nullptr);
    owner->SetName("Owner");
    for (const char* name : {"First", "Second", "Third"}) Create<TLogged>(owner)->SetName(name);

    EXPECT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->FindComponent("sECOND"), owner->Components(1));
    EXPECT_EQ(owner->FindComponent("missing"), nullptr);
    EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);

    owner->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"free Owner", "free Third", "free Second", "free First"}));
}

TEST_F(ClassesTest, NamesMustBeIdentifiersAndUniqueWithinTheOwner) {
    auto* owner = Create<TLogged>(nullptr);
    auto* a = Create<TLogged>(owner);
    auto* b = Create<TLogged>(owner);
    a->SetName("edName");
    EXPECT_THROW(b->SetName("EDNAME"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("edOther");
    a->SetName("edName");  // renaming to itself is fine
    EXPECT_EQ(b->Name(), "edOther");
    owner->Free();
}

TEST_F(ClassesTest, FreeNotificationClearsReferencesBothWays) {
    auto* holder = Create<TLogged>(nullptr);
    auto* target = Create<TLogged>(nullptr);
    holder->Watched = target;
    holder->FreeNotification(target);
    target->Free();
    EXPECT_EQ(holder->Watched, nullptr);

    // The holder going first must not leave the other side with a dangling link.
    auto* target2 = Create<TLogged>(nullptr);
    holder->Watched = target2;
    holder->FreeNotification(target2);
    holder->Free();
    target2->Free();
}

TEST_F(ClassesTest, OwnedComponentsHearOfSiblingsBeingFreed) {
    auto* owner = Create<TLogged>(nullptr);
    auto* holder = Create<TLogged>(owner);
    auto* sibling = Create<TLogged>(owner);
    holder->Watched = sibling;
    sibling->Free();
    EXPECT_EQ(holder->Watched, nullptr);
    EXPECT_EQ(owner->ComponentCount(), 1);
    owner->Free();
}

TEST_F(ClassesTest, LoadingCoversOwnedComponentsAndEndsWithLoadedOnEach) {
    auto* root = Create<TLogged>(nullptr);
    root->BeginLoading();
    auto* child = Create<TLogged>(root);
    auto* grandChild = Create<TLogged>(child);
    EXPECT_TRUE(child->IsLoading());
    EXPECT_TRUE(grandChild->IsReading());
    root->EndLoading();
    for (TLogged* c : {root, child, grandChild}) {
        EXPECT_EQ(c->loadedCalls, 1);
        EXPECT_TRUE(c->wasLoadingInLoaded);
        EXPECT_FALSE(c->IsLoading());
        EXPECT_FALSE(c->IsReading());
    }
    root->Free();
}

TEST_F(ClassesTest, ClassRegistryFindsAndCreatesByName) {
    RegisterClass(TLogged::StaticClassInfo());
    const TClassInfo* cls = GetClass("tlogged");
    ASSERT_NE(cls, nullptr);
    TComponent* instance = cls->CreateInstance(nullptr);
    EXPECT_NE(dynamic_cast<TLogged*>(instance), nullptr);
    EXPECT_EQ(instance->ClassName(), "TLogged");
    EXPECT_TRUE(instance->InheritsFrom("TComponent"));
    instance->Free();
    UnRegisterClass(TLogged::StaticClassInfo());
    EXPECT_EQ(GetClass("TLogged"), nullptr);
    EXPECT_THROW(FindClass("TLogged"), EClassNotFound);
    EXPECT_THROW(TComponent::StaticClassInfo().CreateInstance(nullptr), EComponentError);
}

// ---- events ----------------------------------------------------------------------------------

struct Receiver {
    int calls = 0;
    void Handle(TObject*) { ++calls; }
    void Other(TObject*) {}
};

TEST(EventTest, BoundMethodsCompareByObjectAndMethodAndEmptyCallsDoNothing) {
    Receiver r1, r2;
    TNotifyEvent a(&r1, &Receiver::Handle);
    TNotifyEvent b(&r1, &Receiver::Handle);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == TNotifyEvent(&r2, &Receiver::Handle));
    EXPECT_FALSE(a == TNotifyEvent(&r1, &Receiver::Other));
    auto lambda = [](TObject*) {};
    EXPECT_FALSE(TNotifyEvent(lambda) == TNotifyEvent(lambda));
    EXPECT_TRUE(TNotifyEvent() == nullptr);
    EXPECT_EQ(a.Data(), &r1);

    TNotifyEvent empty;
    empty(nullptr);  // no handler: nothing happens
    a(nullptr);
    EXPECT_EQ(r1.calls, 1);

    TMethod m = a;
    ASSERT_NE(m.As<TNotifyEvent>(), nullptr);
    (*m.As<TNotifyEvent>())(nullptr);
    EXPECT_EQ(r1.calls, 2);
    EXPECT_TRUE(m == TMethod(b));
    EXPECT_FALSE(TMethod() == m);
    EXPECT_TRUE(TMethod() == TMethod(TNotifyEvent()));
}

// ---- string lists ----------------------------------------------------------------------------

TEST(StringListTest, TextJoinsWithCrLfAndSplitsAtAnyLineEnd) {
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
    list.SetText("x\r\n\r\ny\r\n");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"x", "", "y"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringListTest, ValuesByNameIgnoringCase) {
    TStringList list;
    list.SetValues("Sys001", "3");
    list.SetValues("SYS001", "4");
    list.SetValues("Other", "x=y");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Values("sys001"), "4");
    EXPECT_EQ(list.Values("other"), "x=y");
    EXPECT_EQ(list.Names(0), "SYS001");  // the line is rewritten with the name as given
    EXPECT_EQ(list.Values("missing"), "");
    list.SetValues("sys001", "");
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringListTest, OnChangeAfterEveryEditAndOnceForABatch) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add("a");
    list.Insert(0, "b");
    list.SetStrings(0, "c");
    list.Delete(0);
    EXPECT_EQ(changes, 4);

    TStringList source;
    source.AddStrings({"1", "2", "3"});
    changes = 0;
    list.Assign(&source);
    EXPECT_EQ(changes, 1);
    list.SetText("x\r\ny");
    EXPECT_EQ(changes, 2);
    list.Clear();
    list.Clear();  // nothing left to clear
    EXPECT_EQ(changes, 3);
}

TEST(StringListTest, ObjectsTravelWithTheirLines) {
    TStringList list;
    TStringList a, b;
    list.AddObject("a", &a);
    list.AddObject("b", &b);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &b);
    list.Move(0, 1);
    EXPECT_EQ(list.Objects(1), &b);
    EXPECT_EQ(list.IndexOfObject(&a), 0);
    TStringList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.Objects(1), &b);
    EXPECT_THROW(list.Strings(2), EStringListError);
    EXPECT_THROW(list.Objects(-1), EStringListError);
}

TEST(StringListTest, CaseFoldingLeavesDoubleByteTrailBytesAlone) {
    // "丁" is 0xB6 0xA1 and "a" ... a trail byte that is an ASCII letter must not be folded.
    TStringList list;
    std::string withTrailA = "\x81\x61";  // lead byte, trail byte 'a'
    std::string withTrailUpper = "\x81\x41";
    list.Add(withTrailA);
    EXPECT_EQ(list.IndexOf(withTrailUpper), -1);
    EXPECT_EQ(list.IndexOf(withTrailA), 0);
    list.Add("Abc");
    EXPECT_EQ(list.IndexOf("aBC"), 1);
}

TEST(StringListTest, SortedListsFindAndHandleDuplicates) {
    TStringList list;
    list.AddStrings({"pear", "Apple", "fig"});
    list.SetSorted(true);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Apple", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.Add("apple"), 0);  // ignored duplicate
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("PEAR"), EStringListError);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
}

TEST(StringListTest, CommaTextQuotesWhatNeedsIt) {
    TStringList list;
    list.AddStrings({"a", "b c", "d\"e", ""});
    EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d\"\"e\",\"\"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(back.ToVector(), list.ToVector());
}

// ---- collections -----------------------------------------------------------------------------

class TNamedItem : public TCollectionItem {
    KRV_CLASS(TNamedItem)
    explicit TNamedItem(TCollection* c) : TCollectionItem(c) {}
    std::string text;
    void Assign(const TPersistent* source) override {
        if (auto* other = dynamic_cast<const TNamedItem*>(source)) {
            text = other->text;
            return;
        }
        TCollectionItem::Assign(source);
    }
};

const TClassInfo& TNamedItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TNamedItem>("TNamedItem", TCollectionItem::StaticClassInfo()).Build();
    return info;
}

TEST(CollectionTest, ItemsKeepOrderIdsAndCopy) {
    auto factory = [](TCollection* c) -> TCollectionItem* { return new TNamedItem(c); };
    TCollection columns(factory);
    int updates = 0;
    columns.OnUpdate = [&](TCollectionItem*) { ++updates; };
    for (const char* t : {"a", "b", "c"}) static_cast<TNamedItem*>(columns.Add())->text = t;
    EXPECT_EQ(updates, 3);
    columns.Items(2)->SetIndex(0);
    EXPECT_EQ(static_cast<TNamedItem*>(columns.Items(0))->text, "c");
    EXPECT_EQ(columns.Items(0)->ID(), 2);
    columns.Delete(1);
    EXPECT_EQ(columns.Count(), 2);
    EXPECT_EQ(columns.FindItemID(0), nullptr);

    TCollection copy(factory);
    copy.Assign(&columns);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<TNamedItem*>(copy.Items(0))->text, "c");
    EXPECT_EQ(static_cast<TNamedItem*>(copy.Items(1))->text, "b");
    EXPECT_THROW(copy.Items(5), EListError);
}

TEST(PersistentTest, AssigningUnrelatedClassesRaises) {
    TStringList list;
    TCollection collection(nullptr);
    try {
        list.Assign(&collection);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TCollection to a TStringList");
    }
}

}  // namespace
}  // namespace krv
