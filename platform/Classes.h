// The root of the class library: objects with class identity, persistent objects, components
// with owners and names, string lists, collections, and event handlers as values.
//
// Create components with Create<T>(owner) so that AfterConstruction runs (forms fire OnCreate
// there), and free them with Free() (or their owner) so that BeforeDestruction runs while the
// whole object still exists (forms fire OnDestroy there).
#pragma once

#include <any>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/SysUtils.h"

namespace krv {

class TObject;
class TPersistent;
class TComponent;
struct TClassInfo;

KRV_DECLARE_EXCEPTION(EComponentError, Exception);
KRV_DECLARE_EXCEPTION(EStringListError, EListError);
KRV_DECLARE_EXCEPTION(EClassNotFound, Exception);

using Word = uint16_t;

// ---- sets ------------------------------------------------------------------------------------

// A set of enumeration values (at most 64), as the GUI library's "set of" types.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) bits_ |= Bit(e);
    }
    static constexpr TSet FromBits(uint64_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E e) { bits_ |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
    constexpr TSet operator|(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator&(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet& operator|=(TSet o) { bits_ |= o.bits_; return *this; }
    constexpr bool operator==(const TSet& o) const = default;

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
    uint64_t bits_ = 0;
};

enum TShiftKey : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftKey>;

// ---- event handlers --------------------------------------------------------------------------

// What every event handler shares: the identity of a bound method (object and member), so that
// handlers can be compared ("is this the form's own handler?") and their owners found.
class TEventBase {
public:
    // The object a method is bound to; nullptr for a plain callable or an empty handler.
    const void* Data() const { return data_; }
    // Same bound method of the same object. Plain callables are never the same as anything.
    bool SameMethod(const TEventBase& other) const {
        return bound_ && other.bound_ && data_ == other.data_ && code_ == other.code_;
    }

protected:
    template <class M>
    void Bind(const void* data, M method) {
        static_assert(sizeof(M) <= sizeof(code_), "member pointer too large");
        data_ = data;
        code_.fill(0);
        std::memcpy(code_.data(), &method, sizeof(M));
        bound_ = true;
    }
    void Unbind() {
        data_ = nullptr;
        code_.fill(0);
        bound_ = false;
    }

private:
    const void* data_ = nullptr;
    std::array<unsigned char, 2 * sizeof(void*)> code_{};
    bool bound_ = false;
};

// An event handler as a value: empty, a method bound to an object (TEvent(obj, &T::Method)), or
// any callable. Calling an empty handler does nothing. Parameters that the GUI library passes
// "var" are references (Key, Action, Accept ...).
template <class... Args>
class TEvent : public TEventBase {
public:
    using Function = std::function<void(Args...)>;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
                 std::is_invocable_v<F&, Args...>)
    TEvent(F f) : fn_(std::move(f)) {}
    template <class C, class B>
        requires std::is_base_of_v<B, C>
    TEvent(C* object, void (B::*method)(Args...))
        : fn_([object, method](Args... args) { (static_cast<B*>(object)->*method)(std::forward<Args>(args)...); }) {
        Bind(static_cast<const void*>(object), method);
    }

    explicit operator bool() const { return static_cast<bool>(fn_); }
    bool Assigned() const { return static_cast<bool>(fn_); }
    void operator()(Args... args) const {
        if (fn_) fn_(std::forward<Args>(args)...);
    }
    // Empty handlers are equal; bound methods are equal when object and method are.
    bool operator==(const TEvent& other) const {
        if (!fn_ || !other.fn_) return !fn_ && !other.fn_;
        return SameMethod(other);
    }
    bool operator==(std::nullptr_t) const { return !fn_; }
    void Clear() {
        fn_ = nullptr;
        Unbind();
    }

private:
    Function fn_;
};

using TNotifyEvent = TEvent<TObject*>;

// The declared type name of an event type, as the published-property metadata reports it.
// Event types with the same parameters are one C++ type, so only one of them can specialize
// this; the others pass their name to TClassBuilder::Event.
template <class E>
inline constexpr const char* kEventTypeName = "TMethod";
template <>
inline constexpr const char* kEventTypeName<TNotifyEvent> = "TNotifyEvent";

// Any event handler, type-erased: what GetMethodProp gives and SetMethodProp takes.
class TMethod {
public:
    TMethod() = default;
    template <class... A>
    TMethod(const TEvent<A...>& event) : event_(event), identity_(event), assigned_(event.Assigned()) {}

    bool Assigned() const { return assigned_; }
    const void* Data() const { return identity_.Data(); }
    // The handler as its concrete event type; nullptr when empty or of another type.
    template <class E>
    const E* As() const {
        return std::any_cast<E>(&event_);
    }
    bool HasType(const std::type_info& type) const { return event_.has_value() && event_.type() == type; }
    bool operator==(const TMethod& other) const {
        if (!assigned_ || !other.assigned_) return assigned_ == other.assigned_;
        return event_.type() == other.event_.type() && identity_.SameMethod(other.identity_);
    }

private:
    std::any event_;
    TEventBase identity_;
    bool assigned_ = false;
};

// ---- objects ---------------------------------------------------------------------------------

// Declares a class's metadata; put it at the start of the class body (it leaves access public)
// and define Name::StaticClassInfo() in the source with a TClassBuilder (TypInfo.h).
#define KRV_CLASS(Name)                                                                         \
public:                                                                                        \
    static const ::krv::TClassInfo& StaticClassInfo();                                         \
    const ::krv::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const;
    std::string ClassName() const;
    // By metadata, ignoring case ("is" tests are plain dynamic_cast).
    bool InheritsFrom(const std::string& className) const;

    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}
    // BeforeDestruction, then delete.
    void Free();
};

// Frees the object (when there is one) and clears the pointer first.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    if (doomed) doomed->Free();
}

// Constructs an object and runs its AfterConstruction.
template <class T, class... A>
T* Create(A&&... args) {
    T* object = new T(std::forward<A>(args)...);
    object->AfterConstruction();
    return object;
}

class TPersistent : public TObject {
    KRV_CLASS(TPersistent)
    // Copies the source's state; raises EConvertError "Cannot assign a %s to a %s" when neither
    // side knows how.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

// ---- components ------------------------------------------------------------------------------

enum TComponentStateItem : uint8_t {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups
};
using TComponentState = TSet<TComponentStateItem>;
enum TOperation : uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
    KRV_CLASS(TComponent)
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Raises EComponentError for a name that is no identifier ("'%s' is not a valid component
    // name") or that another component of the same owner has ("A component named %s already
    // exists"), ignoring case.
    virtual void SetName(const std::string& name);
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    int ComponentIndex() const;
    // By name, ignoring case; nullptr when none.
    TComponent* FindComponent(const std::string& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    TComponentState ComponentState() const { return state_; }
    bool IsLoading() const { return state_.Contains(csLoading); }
    bool IsReading() const { return state_.Contains(csReading); }
    bool IsDestroying() const { return state_.Contains(csDestroying); }

    // A builder sets properties inside BeginLoading/EndLoading, as reading a form description
    // does: the component and everything it owns (also created later, while loading) are
    // loading; EndLoading clears the reading state, then calls Loaded() on the component and on
    // every owned component in creation order.
    void BeginLoading();
    void EndLoading();

    // The other component is told (Notification opRemove) when this one is freed, and vice versa.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    void BeforeDestruction() override;
    // Marks the component and what it owns as being destroyed.
    void Destroying();

protected:
    // Called for components inserted into or removed from the owner, and for freed components
    // this one asked to be told about.
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once when loading ends; clears csLoading.
    virtual void Loaded();
    void SetComponentState(TComponentStateItem item, bool on);

private:
    void MarkLoading();
    void CallLoaded();
    void RemoveNotifyLink(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    intptr_t tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// ---- class registry (find a class by name) ---------------------------------------------------

void RegisterClass(const TClassInfo& cls);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
void UnRegisterClass(const TClassInfo& cls);
void UnRegisterClasses(std::initializer_list<const TClassInfo*> classes);
// By name, ignoring case; nullptr when not registered.
const TClassInfo* GetClass(const std::string& name);
// Raises EClassNotFound "Class %s not found".
const TClassInfo& FindClass(const std::string& name);

// ---- string lists ----------------------------------------------------------------------------

// The abstract list of texts with an object per line. Lines are narrow text; Text joins them
// with CR LF. Names and values ("name=value") ignore case in the name.
class TStrings : public TPersistent {
    KRV_CLASS(TStrings)
    int Count() const { return GetCount(); }
    std::string Strings(int index) const { return Get(index); }
    std::string operator[](int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* object);
    void AddStrings(const TStrings& strings);
    void AddStrings(std::initializer_list<std::string> strings);
    virtual void Insert(int index, const std::string& s) = 0;
    void InsertObject(int index, const std::string& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    // Ignoring case (double-byte safe), -1 when absent.
    virtual int IndexOf(const std::string& s) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* object) const;
    bool Equals(const TStrings& other) const;

    // Lines joined, each followed by CR LF; setting splits at CR LF, LF or CR.
    virtual std::string Text() const;
    virtual void SetText(const std::string& text);
    // Lines joined with "," (quoted where needed); setting splits at commas and blanks.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    // "" when absent. Setting "" removes the line; setting a new name adds a line.
    std::string Values(const std::string& name) const;
    void SetValues(const std::string& name, const std::string& value);
    std::vector<std::string> ToVector() const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(const TPersistent* source) override;

protected:
    virtual std::string Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int index) const;
    virtual void Put(int index, const std::string& s);
    virtual void PutObject(int index, TObject* object);
    // Told when the first BeginUpdate starts and the last EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    [[noreturn]] void IndexError(int index) const;

private:
    int updateCount_ = 0;
};

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    KRV_CLASS(TStringList)
    TStringList() = default;

    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::string& s) const override;
    // Binary search of a sorted list; index is where the text is or would be.
    bool Find(const std::string& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    // After every change (adds, deletes, edits, assignments), unless inside BeginUpdate.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    std::string Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, const std::string& s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();
    int CompareStrings(const std::string& a, const std::string& b) const;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::string& s, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

// ---- collections -----------------------------------------------------------------------------

class TCollection;

class TCollectionItem : public TPersistent {
    KRV_CLASS(TCollectionItem)
    // Adds itself to the collection (when given).
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);
    int Index() const;
    void SetIndex(int index);
    int ID() const { return id_; }
    virtual std::string DisplayName() const;

protected:
    // Tells the collection that this item (or all items) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

// Items owned by the collection, created through its item factory.
class TCollection : public TPersistent {
    KRV_CLASS(TCollection)
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
    explicit TCollection(ItemFactory factory, TPersistent* owner = nullptr);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* FindItemID(int id) const;
    TPersistent* Owner() const { return owner_; }
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Copies the items by count and Assign of each item.
    void Assign(const TPersistent* source) override;

    // After every change, with the item that changed or nullptr for the whole collection.
    std::function<void(TCollectionItem*)> OnUpdate;

protected:
    virtual void Update(TCollectionItem* item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    ItemFactory factory_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

}  // namespace krv
