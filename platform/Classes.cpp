#include "platform/Classes.h"

#include <algorithm>
#include <map>

#include "platform/TypInfo.h"

namespace krv {

// ---- TObject ---------------------------------------------------------------------------------

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TObject>("TObject").Build();
    return info;
}

const TClassInfo& TObject::ClassInfo() const { return StaticClassInfo(); }

std::string TObject::ClassName() const { return ClassInfo().name; }

bool TObject::InheritsFrom(const std::string& className) const { return ClassInfo().InheritsFrom(className); }

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

// ---- TPersistent -----------------------------------------------------------------------------

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", TObject::StaticClassInfo()).Build();
    return info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
    std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

// ---- TComponent ------------------------------------------------------------------------------

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                       .Str("Name", &TComponent::Name, &TComponent::SetName)
                                       .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
                                       .Build();
    return info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone who asked; they drop their references to this component.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveNotifyLink(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    if (!IsDestroying()) Destroying();
}

void TComponent::Destroying() {
    if (IsDestroying()) return;
    state_.Include(csDestroying);
    for (TComponent* c : components_) c->Destroying();
}

static bool IsValidIdent(const std::string& name) {
    auto identStart = [](unsigned char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.empty() || !identStart(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](unsigned char c) { return identStart(c) || (c >= '0' && c <= '9'); });
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw EComponentError("A component named " + name + " already exists");
    }
    name_ = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return components_[index];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto it = std::find(owner_->components_.begin(), owner_->components_.end(), this);
    return static_cast<int>(it - owner_->components_.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (component->owner_) component->owner_->RemoveComponent(component);
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError("A component named " + component->name_ + " already exists");
    components_.push_back(component);
    component->owner_ = this;
    if (IsLoading()) component->MarkLoading();
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    // Last first, as the library does; each one leaves the list as it goes.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        RemoveComponent(last);
        last->Free();
    }
}

void TComponent::MarkLoading() {
    state_.Include(csLoading);
    state_.Include(csReading);
    for (TComponent* c : components_) c->MarkLoading();
}

void TComponent::BeginLoading() { MarkLoading(); }

void TComponent::EndLoading() {
    std::vector<TComponent*> all;
    std::function<void(TComponent*)> collect = [&](TComponent* c) {
        all.push_back(c);
        for (TComponent* child : c->components_) collect(child);
    };
    collect(this);
    for (TComponent* c : all) c->state_.Exclude(csReading);
    for (TComponent* c : all) c->CallLoaded();
}

void TComponent::CallLoaded() {
    if (IsLoading()) Loaded();
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::SetComponentState(TComponentStateItem item, bool on) {
    if (on)
        state_.Include(item);
    else
        state_.Exclude(item);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    RemoveNotifyLink(component);
    component->RemoveNotifyLink(this);
}

void TComponent::RemoveNotifyLink(TComponent* component) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove) RemoveFreeNotification(component);
    // Owned components hear of every removal in the owner, as the library broadcasts it.
    if (operation == opRemove)
        for (TComponent* c : std::vector<TComponent*>(components_))
            if (c != component) c->Notification(component, operation);
}

// ---- class registry --------------------------------------------------------------------------

static std::map<std::string, const TClassInfo*>& ClassRegistry() {
    static std::map<std::string, const TClassInfo*> registry;
    return registry;
}

void RegisterClass(const TClassInfo& cls) { ClassRegistry()[UpperCase(cls.name)] = &cls; }

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* cls : classes)
        if (cls) RegisterClass(*cls);
}

void UnRegisterClass(const TClassInfo& cls) {
    auto it = ClassRegistry().find(UpperCase(cls.name));
    if (it != ClassRegistry().end() && it->second == &cls) ClassRegistry().erase(it);
}

void UnRegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* cls : classes)
        if (cls) UnRegisterClass(*cls);
}

const TClassInfo* GetClass(const std::string& name) {
    auto it = ClassRegistry().find(UpperCase(name));
    return it == ClassRegistry().end() ? nullptr : it->second;
}

const TClassInfo& FindClass(const std::string& name) {
    const TClassInfo* cls = GetClass(name);
    if (!cls) throw EClassNotFound("Class " + name + " not found");
    return *cls;
}

// ---- TStrings --------------------------------------------------------------------------------

const TClassInfo& TStrings::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings", TPersistent::StaticClassInfo()).Build();
    return info;
}

int TStrings::Add(const std::string& s) {
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
    EndUpdate();
}

void TStrings::AddStrings(std::initializer_list<std::string> strings) {
    BeginUpdate();
    for (const std::string& s : strings) Add(s);
    EndUpdate();
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    std::string s1 = Get(index1);
    TObject* o1 = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s1);
    PutObject(index2, o1);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    std::string s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
    EndUpdate();
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < GetCount(); ++i)
        if (AnsiUpperCase(Get(i)) == AnsiUpperCase(s)) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        std::string line = Get(i);
        size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(line.substr(0, eq), name)) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings& other) const {
    if (GetCount() != other.GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < GetCount(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    std::string out;
    for (int i = 0; i < GetCount(); ++i) {
        std::string s = Get(i);
        bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos ||
                     std::any_of(s.begin(), s.end(), [](unsigned char c) { return c < ' '; });
        if (i) out += ',';
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::SetCommaText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    EndUpdate();
}

std::string TStrings::Names(int index) const {
    std::string line = Get(index);
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string line = Get(index);
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

std::string TStrings::Values(const std::string& name) const {
    int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    if (index < 0)
        Add(name + "=" + value);
    else
        Put(index, name + "=" + value);
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> out;
    out.reserve(GetCount());
    for (int i = 0; i < GetCount(); ++i) out.push_back(Get(i));
    return out;
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* source) {
    if (auto* strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this) return;
        BeginUpdate();
        Clear();
        AddStrings(*strings);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int index, const std::string& s) {
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

void TStrings::IndexError(int index) const {
    throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

// ---- TStringList -----------------------------------------------------------------------------

const TClassInfo& TStringList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList", TStrings::StaticClassInfo()).Build();
    return info;
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    if (caseSensitive_) return a.compare(b);
    return AnsiUpperCase(a).compare(AnsiUpperCase(b));
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) IndexError(index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[index].text;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[index].object;
}

int TStringList::Add(const std::string& s) {
    if (!sorted_) {
        int index = GetCount();
        InsertItem(index, s, nullptr);
        return index;
    }
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s, nullptr);
    return index;
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    if (index < 0 || index > GetCount()) IndexError(index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[index1], items_[index2]);
    Changed();
}

void TStringList::Put(int index, const std::string& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    CheckIndex(index);
    Changing();
    items_[index].text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[index].object = object;
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    if (!sorted_) {
        for (int i = 0; i < GetCount(); ++i)
            if (CompareStrings(items_[i].text, s) == 0) return i;
        return -1;
    }
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
    int low = 0;
    int high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        int mid = (low + high) / 2;
        int c = CompareStrings(items_[mid].text, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) low = mid;
            }
        }
    }
    index = low;
    return found;
}

void TStringList::Sort() {
    CustomSort([](const TStringList& list, int a, int b) {
        return list.CompareStrings(list.items_[a].text, list.items_[b].text);
    });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
    if (GetCount() < 2) return;
    Changing();
    // Sort indexes so the comparer sees the list as it is, then reorder once.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[i]));
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

// ---- collections -----------------------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCollectionItem>("TCollectionItem", TPersistent::StaticClassInfo()).Build();
    return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection_ == collection) return;
    if (collection_) collection_->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current < 0 || index < 0 || index == current) return;
    auto& items = collection_->items_;
    index = std::min(index, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->UpdateCount() == 0) collection_->Update(allItems ? nullptr : this);
}

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection", TPersistent::StaticClassInfo()).Build();
    return info;
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner) : factory_(std::move(factory)), owner_(owner) {}

TCollection::~TCollection() {
    updateCount_ = 1;  // no updates while the items go
    while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = factory_ ? factory_(this) : new TCollectionItem(this);
    if (item->Collection() != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    BeginUpdate();
    TCollectionItem* item = Add();
    item->SetIndex(index);
    EndUpdate();
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[index];
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_)
        if (item->ID() == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TCollection*>(source)) {
        if (other == this) return;
        BeginUpdate();
        Clear();
        for (TCollectionItem* item : other->items_) Add()->Assign(item);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TCollection::Update(TCollectionItem* item) {
    if (OnUpdate) OnUpdate(item);
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed();
}

}  // namespace krv
