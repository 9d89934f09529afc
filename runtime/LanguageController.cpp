#include "runtime/LanguageController.h"

#include <algorithm>
#include <climits>

#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/TypInfo.h"

namespace krv {

namespace {

// Longest string list a package may grow: a larger line index is a bad value, not a reason to
// allocate millions of lines.
constexpr int64_t kMaxLineIndex = 65535;

// One segment of a property path: a name and, after the first "_", an integer index.
struct PathSegment {
    std::string name;
    bool hasIndex = false;
    int64_t index = -1;
};

PathSegment SplitSegment(const std::string& text) {
    PathSegment segment{Trim(text)};
    size_t underscore = segment.name.find('_');
    if (underscore == std::string::npos) return segment;
    std::string rest = segment.name.substr(underscore + 1);
    int64_t index;
    bool digitsOnly = !rest.empty() && rest.find_first_not_of("+-0123456789") == std::string::npos;
    if (!digitsOnly || !TryStrToInt64(rest, index)) return segment;  // the whole segment is the name
    segment.name.resize(underscore);
    segment.hasIndex = true;
    segment.index = index;
    return segment;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t dot; (dot = path.find('.', start)) != std::string::npos; start = dot + 1)
        parts.push_back(path.substr(start, dot - start));
    parts.push_back(path.substr(start));
    return parts;
}

// The object a published object-valued property holds; nullptr when there is none.
TObject* ObjectProperty(TObject* object, const std::string& name) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (!prop || prop->Kind() != tkClass) return nullptr;
    return GetObjectProp(object, *prop);
}

// ---- the controls that packages treat by kind ------------------------------------------------

bool IsA(const TObject* object, const char* className) { return object && object->InheritsFrom(className); }

// Element n of a list view's columns or items or of a tree view's nodes (in the tree's overall
// order); `handled` tells whether the object is such a view.
TObject* LangViewElement(TObject* object, const std::string& name, int index, bool& handled) {
    if (auto* view = dynamic_cast<TCustomListView*>(object)) {
        handled = true;
        if (SameText(name, "Columns")) return index < view->Columns()->Count() ? view->Columns()->Items(index) : nullptr;
        return index < view->Items()->Count() ? view->Items()->Item(index) : nullptr;
    }
    if (auto* tree = dynamic_cast<TTreeView*>(object); tree && SameText(name, "Items")) {
        handled = true;
        return index < tree->Items()->Count() ? tree->Items()->Item(index) : nullptr;
    }
    handled = false;
    return nullptr;
}

// A list item's "Caption" and a tree node's "Text"; false for other objects and names.
bool LangSetItemText(TObject* object, const std::string& name, const std::string& value) {
    if (auto* item = dynamic_cast<TListItem*>(object); item && SameText(name, "Caption")) {
        item->SetCaption(value);
        return true;
    }
    if (auto* node = dynamic_cast<TTreeNode*>(object); node && SameText(name, "Text")) {
        node->SetText(value);
        return true;
    }
    return false;
}

// The selected item of a combo box; the data-aware one of the grid pack is reached through its
// published ItemIndex.
int ItemIndexOf(TComponent* combo) {
    if (auto* standard = dynamic_cast<TCustomComboBox*>(combo)) return standard->ItemIndex();
    const TPropInfo* prop = GetPropInfo(combo, "ItemIndex");
    return prop ? static_cast<int>(GetOrdProp(combo, *prop)) : -1;
}

void SetItemIndexOf(TComponent* combo, int index) {
    if (auto* standard = dynamic_cast<TCustomComboBox*>(combo))
        standard->SetItemIndex(index);
    else if (const TPropInfo* prop = GetPropInfo(combo, "ItemIndex"))
        SetOrdProp(combo, *prop, index);
}

// Element n of what "Items" or "Columns" names on the object: the columns, items or nodes of a
// list or tree view, else the items of a collection-valued property. nullptr when out of range.
TObject* ElementOf(TObject* object, const std::string& name, int64_t index) {
    if (index < 0 || index > INT_MAX) return nullptr;
    bool handled = false;
    TObject* element = LangViewElement(object, name, static_cast<int>(index), handled);
    if (handled) return element;
    auto* collection = dynamic_cast<TCollection*>(ObjectProperty(object, name));
    if (!collection || index >= collection->Count()) return nullptr;
    return collection->Items(static_cast<int>(index));
}

void SetLine(TStrings& lines, int64_t index, const std::string& value) {
    if (index < 0 || index > kMaxLineIndex) return;
    while (lines.Count() <= index) lines.Add("");
    lines.SetStrings(static_cast<int>(index), value);
}

// The walk through a path of the form A.B.Items_2.P: the object reached and the last segment.
struct PathTarget {
    TObject* object = nullptr;
    PathSegment last;
};

PathTarget Walk(TComponent* component, const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    PathTarget target{component, SplitSegment(parts.back())};
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        PathSegment segment = SplitSegment(parts[i]);
        bool isList = SameText(segment.name, "Items") || SameText(segment.name, "Columns");
        if (segment.hasIndex && isList) {
            if (TObject* element = ElementOf(target.object, segment.name, segment.index)) target.object = element;
            continue;  // out of range: the walk stays where it is
        }
        if (segment.hasIndex) {  // any other indexed segment ends the walk and takes the value
            target.last = segment;
            return target;
        }
        target.object = ObjectProperty(target.object, segment.name);
        if (!target.object) return target;
    }
    return target;
}

void ApplyValue(TComponent* component, const std::string& path, const std::string& value) {
    PathTarget target = Walk(component, path);
    const PathSegment& last = target.last;
    if (!target.object || (last.hasIndex && last.index < 0)) return;
    if (last.hasIndex && !dynamic_cast<TStrings*>(target.object)) {
        target.object = ObjectProperty(target.object, last.name);
        if (!target.object) return;
    }
    if (auto* lines = dynamic_cast<TStrings*>(target.object)) {
        if (last.hasIndex) SetLine(*lines, last.index, value);
        return;
    }
    if (LangSetItemText(target.object, last.name, value)) return;
    SetPropFromText(target.object, last.name, value);
}

}  // namespace

// ---- component readers -----------------------------------------------------------------------

void TComponentRead::Apply(const XmlNode& attribute) {
    if (!attribute || !component_) return;
    try {
        ApplyValue(component_, attribute.NodeNameA(), attribute.TextA());
    } catch (const std::exception&) {
        // A missing property, a value that does not convert or an object property: skipped.
    }
}

void TComponentRead::ReadAttribute(const Variant& indexOrName) {
    if (indexOrName.Kind() == VarKind::Integer)
        Apply(node_.Attribute(indexOrName.AsInteger()));
    else if (indexOrName.IsText())
        Apply(node_.AttributeNode(indexOrName.AsString()));
}

void TComponentRead::ReadAttributes() {
    XmlNodeList attributes = node_.Attributes();
    for (int i = 0; i < attributes.Length(); ++i) Apply(attributes.Item(i));
}

void TCustomComboBoxRead::ReadAttributes() {
    int selected = ItemIndexOf(GetComponent());
    TComponentRead::ReadAttributes();
    SetItemIndexOf(GetComponent(), selected);
}

void TwwDBCustomComboBoxRead::ReadAttributes() {
    int selected = ItemIndexOf(GetComponent());
    TComponentRead::ReadAttributes();
    SetItemIndexOf(GetComponent(), selected);
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(TComponent* component, const XmlNode& node) {
    if (IsA(component, "TwwDBCustomComboBox")) return std::make_unique<TwwDBCustomComboBoxRead>(component, node);
    if (dynamic_cast<TCustomComboBox*>(component)) return std::make_unique<TCustomComboBoxRead>(component, node);
    return std::make_unique<TComponentRead>(component, node);
}

// ---- package reader --------------------------------------------------------------------------

TLangReader::TLangReader(XmlDocument document)
    : document_(std::move(document)), root_(document_.DocumentElement()) {}

void TLangReader::SetExcludeControls(const TStrings& names) {
    excluded_.clear();
    for (int i = 0; i < names.Count(); ++i) excluded_.push_back(UpperCase(Trim(names[i])));
}

bool TLangReader::IsExcluded(const std::string& name) const {
    std::string key = UpperCase(Trim(name));
    return std::find(excluded_.begin(), excluded_.end(), key) != excluded_.end();
}

XmlNode TLangReader::FindElement(const std::string& componentName) {
    if (!root_ || !IsValidXmlName(componentName)) return {};
    if (!firstByName_) {
        firstByName_.emplace();
        XmlNodeList all = root_.SelectNodes("//*");
        for (int i = 0; i < all.Length(); ++i) firstByName_->emplace(all.Item(i).NodeNameUtf8(), all.Item(i));
    }
    auto found = firstByName_->find(XmlText(componentName).Utf8());
    return found == firstByName_->end() ? XmlNode() : found->second;
}

void TLangReader::Read(TComponent* component, const XmlNode& node) {
    BeforeLoadComponent(component, node);
    TReaderFactory::CreateReader(component, node)->ReadAttributes();
    AfterLoadComponent(component, node);
}

void TLangReader::ReadComponent(TComponent* component) {
    if (!component) return;
    if ((dynamic_cast<TCustomForm*>(component) || IsA(component, "TDataModule")) && root_) Read(component, root_);
    const std::string& name = component->Name();
    if (!name.empty() && !IsExcluded(name)) {
        XmlNode element;
        try {
            element = FindElement(name);
        } catch (const std::exception&) {
            element = XmlNode();  // a name the query cannot take is not in the package
        }
        if (element) Read(component, element);
    }
    for (int i = 0; i < component->ComponentCount(); ++i) ReadComponent(component->Components(i));
}

// ---- controller ------------------------------------------------------------------------------

const TClassInfo& TLanguageController::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TLanguageController>("TLanguageController", TComponent::StaticClassInfo())
            .Bool("Active", &TLanguageController::Active, &TLanguageController::SetActive)
            .Event("AfterClose", &TLanguageController::AfterClose)
            .Event("AfterOpen", &TLanguageController::AfterOpen)
            .Event("BeforeClose", &TLanguageController::BeforeClose)
            .Event("BeforeOpen", &TLanguageController::BeforeOpen)
            .Event("AfterLoadComponent", &TLanguageController::AfterLoadComponent)
            .Event("BeforeLoadComponent", &TLanguageController::BeforeLoadComponent)
            .Object("ExcludeControls", &TLanguageController::ExcludeControls, &TLanguageController::SetExcludeControls)
            .Build();
    return info;
}

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), package_(std::make_unique<TStringList>()), excludeControls_(std::make_unique<TStringList>()) {
    package_->OnChange = TNotifyEvent(this, &TLanguageController::PackageChanged);
    excludeControls_->OnChange = TNotifyEvent(this, &TLanguageController::ExcludeControlsChanged);
}

TLanguageController::~TLanguageController() {
    package_->OnChange.Clear();
    excludeControls_->OnChange.Clear();
}

bool TLanguageController::Active() const { return document_ && document_->DocumentElement(); }

void TLanguageController::SetActive(bool active) {
    if (IsLoading()) {
        streamedActive_ = active;
        return;
    }
    if (active == Active()) return;
    if (active) {
        Open();
    } else {
        BeforeClose(this);
        Close();
        AfterClose(this);
    }
}

void TLanguageController::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) SetActive(true);
}

void TLanguageController::Open() {
    BeforeOpen(this);
    Close();
    XmlDocument document;
    if (package_->Count() > 0) {
        document.LoadXml(package_->Text());
    } else if (packageFile_.empty()) {
        throw LanguageControllerError(Format("Cannot Find File %s!", {packageFile_}));
    } else {
        document.Load(packageFile_);
    }
    if (document.ParseError().ErrorCode != 0) throw LanguageControllerError(document.ParseError().Reason);
    document_ = document;
    reader_ = std::make_unique<TLangReader>(document);
    reader_->SetExcludeControls(*excludeControls_);
    reader_->BeforeLoadComponent = BeforeLoadComponent;
    reader_->AfterLoadComponent = AfterLoadComponent;
    AfterOpen(this);
}

void TLanguageController::Close() {
    reader_.reset();
    document_.reset();
}

TLangReader& TLanguageController::Reader() const {
    if (!Active() || !reader_) throw LanguageControllerError("No active LanguageController!");
    return *reader_;
}

void TLanguageController::SetPackageFile(const std::string& path) { packageFile_ = path; }

void TLanguageController::PackageChanged(TObject*) {
    if (package_->Count() > 0) packageFile_.clear();
    if (!IsLoading()) SetActive(false);
}

void TLanguageController::ExcludeControlsChanged(TObject*) {
    if (reader_) reader_->SetExcludeControls(*excludeControls_);
}

// ---- controller of the installation's packages -----------------------------------------------

const TClassInfo& TKrLangController::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrLangController>("TKrLangController", TLanguageController::StaticClassInfo())
            .Creatable()
            .Str("LangPackageName", &TKrLangController::LangPackageName, &TKrLangController::SetLangPackageName)
            .Enum("DesignType", TypeInfoDesignType(), &TKrLangController::DesignType, &TKrLangController::SetDesignType)
            .Build();
    return info;
}

TKrLangController::TKrLangController(TComponent* owner) : TLanguageController(owner) {}

void TKrLangController::SetLangPackageName(const std::string& name) {
    if (name == langPackageName_) return;
    langPackageName_ = name;
    std::string path = LanguagePackagePath(designType_, name);
    if (path == PackageFile()) return;
    SetPackageFile(path);
    ClearPackage();
    SetActive(false);
}

}  // namespace krv
