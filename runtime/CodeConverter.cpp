#include "runtime/CodeConverter.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Forms.h"
#include "platform/ComCtrls.h"
#include "platform/Graphics.h"
#include "platform/Grids.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "platform/Tabs.h"
#include "controls/SelectPnl.h"
#include "platform/TypInfo.h"

namespace krv {

const TClassInfo& TCodeConverter::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCodeConverter>("TCodeConverter", TComponent::StaticClassInfo())
            .Enum("DesignType", TypeInfoDesignType(), &TCodeConverter::DesignType, &TCodeConverter::SetDesignType)
            .Build();
    return info;
}

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner) { ReadSettings(); }

TCodeConverter::~TCodeConverter() = default;

// At construction the stored design type is not applied yet, so the client settings are read.
void TCodeConverter::ReadSettings() {
    TLangSettings settings = ReadLangSettings(designType_);
    systemCodePage_ = settings.SystemCodePage;
    uiCodePage_ = settings.UICodePage;
    dbCodePage_ = settings.DBCodePage;
    uiKind_ = settings.UIKind;
    dbKind_ = settings.DBKind;
    if (uiKind_ != 0 || dbKind_ != 0) translator_ = std::make_unique<TTranslator>();
}

std::string TCodeConverter::ConvertText(TConvertKind kind, const std::string& s) const {
    if (kind == 1) return translator_->Big5ToGb(s);
    if (kind == 2) return translator_->GbToBig5(s);
    return s;
}

void TCodeConverter::ConvertInPlace(TConvertKind kind, Variant& v) const {
    if (v.IsArray()) {
        for (Variant& element : v.Elements()) ConvertInPlace(kind, element);
    } else if (v.IsNarrowText()) {
        v = ConvertText(kind, v.NarrowRef());
    } else if (v.IsWideText()) {
        v = ConvertText(kind, WideToAnsi(v.WideRef()));
    }
}

Variant TCodeConverter::ConvertVariant(TConvertKind kind, Variant v) const {
    if ((kind != 1 && kind != 2) || !translator_) return v;
    ConvertInPlace(kind, v);
    return v;
}

Variant TCodeConverter::ScreenToDatabase(const Variant& v) const noexcept {
    try {
        return ConvertVariant(ReverseKind(dbKind_), v);
    } catch (...) {
        return v;
    }
}

Variant TCodeConverter::ScreenToDesign(const Variant& v) const noexcept {
    try {
        return ConvertVariant(ReverseKind(uiKind_), v);
    } catch (...) {
        return v;
    }
}

std::string TCodeConverter::Big5ToGb(const std::string& s) const {
    return s.empty() || !translator_ ? s : translator_->Big5ToGb(s);
}

std::string TCodeConverter::GbToBig5(const std::string& s) const {
    return s.empty() || !translator_ ? s : translator_->GbToBig5(s);
}

// ---- forms -----------------------------------------------------------------------------------

namespace {

// The published object-valued property of that name whose declared class is (or descends from)
// the given class; nullptr when the component has none.
TObject* ObjectPropertyOfClass(TObject* object, const std::string& name, const char* className) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (!prop || prop->Kind() != tkClass || !prop->type->classType ||
        !prop->type->classType->InheritsFrom(className))
        return nullptr;
    return GetObjectProp(object, *prop);
}

// A combo box's selection, kept across changes that clear it.
class KeptSelection {
public:
    explicit KeptSelection(TComponent* component)
        : combo_(dynamic_cast<TCustomComboBox*>(component)), index_(combo_ ? combo_->ItemIndex() : -1) {}
    ~KeptSelection() {
        if (combo_ && combo_->Items()->Count() > 0 && combo_->ItemIndex() != index_) combo_->SetItemIndex(index_);
    }
    KeptSelection(const KeptSelection&) = delete;
    KeptSelection& operator=(const KeptSelection&) = delete;

private:
    TCustomComboBox* combo_;
    int index_;
};

bool IsTextProperty(const TPropInfo* prop) {
    return prop && (prop->Kind() == tkString || prop->Kind() == tkLString || prop->Kind() == tkWString);
}

}  // namespace

void TCodeConverter::ConvertTextProperty(TPersistent* object, const std::string& name) const {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (!IsTextProperty(prop) || !prop->IsWritable()) return;
    std::string text = GetStrProp(object, *prop);
    if (!text.empty()) SetStrProp(object, *prop, ToScreen(text));
}

// Line by line, so that the objects of the lines stay with them.
void TCodeConverter::ConvertLines(TStrings* lines) const {
    if (!lines) return;
    lines->BeginUpdate();
    for (int i = 0; i < lines->Count(); ++i) lines->SetStrings(i, ToScreen(lines->Strings(i)));
    lines->EndUpdate();
}

void TCodeConverter::ConvertPropertyGroups(TComponent* component) const {
    ApplyChineseFont(uiKind_, static_cast<TFont*>(ObjectPropertyOfClass(component, "Font", "TFont")));
    ApplyChineseFont(uiKind_, static_cast<TFont*>(ObjectPropertyOfClass(component, "TitleFont", "TFont")));
    ConvertTextProperty(component, "Caption");
    ConvertTextProperty(component, "Hint");
    ConvertTextProperty(component, "ButtonHint");
    if (auto* items = static_cast<TStrings*>(ObjectPropertyOfClass(component, "Items", "TStrings"))) {
        KeptSelection selection(component);
        ConvertLines(items);
    }
    ConvertLines(static_cast<TStrings*>(ObjectPropertyOfClass(component, "Lines", "TStrings")));
    ConvertStyle(component);
    if (auto* panels = static_cast<TCollection*>(ObjectPropertyOfClass(component, "Panels", "TStatusPanels")))
        for (int i = 0; i < panels->Count(); ++i) ConvertTextProperty(panels->Items(i), "Text");
}

// Owner drawing lets the converted font draw the items.
void TCodeConverter::ConvertStyle(TComponent* component) const {
    const TPropInfo* prop = GetPropInfo(component, "Style");
    if (!prop || prop->Kind() != tkEnumeration || uiKind_ == 0) return;
    std::string style = GetEnumName(*prop->type, static_cast<int>(GetOrdProp(component, *prop)));
    std::string newStyle;
    if (SameText(prop->TypeName(), "TComboBoxStyle")) {
        if (style == "csDropDown") newStyle = "csOwnerDrawVariable";
        if (style == "csDropDownList") newStyle = "csOwnerDrawFixed";
    } else if (SameText(prop->TypeName(), "TListBoxStyle")) {
        if (style == "lbStandard") newStyle = "lbOwnerDrawFixed";
    }
    if (newStyle.empty()) return;
    KeptSelection selection(component);
    SetOrdProp(component, *prop, GetEnumValue(*prop->type, newStyle));
}

void TCodeConverter::ConvertForm(TCustomForm* form, bool convertGrids) {
    if (!form || !translator_ || uiKind_ == 0) return;
    if (systemCodePage_ == "950") form->SetCaption(GbToBig5(form->Caption()));
    ConvertTextProperty(form, "Hint");
    ConvertTextProperty(form, "ButtonHint");
    ApplyChineseFont(uiKind_, Screen->IconFont());
    ApplyChineseFont(uiKind_, Screen->HintFont());
    ApplyChineseFont(uiKind_, Screen->MenuFont());
    // The hint window takes the new font when hints are switched off and on again.
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        ConvertPropertyGroups(component);
        ConvertKindSpecific(component, convertGrids);
    }
}

// Owner-drawn with a selection, so that the converted font draws the items.
static void ConvertComboBox(TCustomComboBox* combo) {
    if (combo->Style() != csSimple) {
        KeptSelection selection(combo);
        combo->SetStyle(csOwnerDrawFixed);
    }
    if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
}

// Column captions, and per item its caption (column 0) and the sub-item of each further column.
void TCodeConverter::ConvertListView(TCustomListView* view) const {
    TListColumns* columns = view->Columns();
    for (int i = 0; i < columns->Count(); ++i) columns->Items(i)->SetCaption(ToScreen(columns->Items(i)->Caption()));
    TListItems* items = view->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TListItem* item = items->Item(i);
        item->SetCaption(ToScreen(item->Caption()));
        TStrings* sub = item->SubItems();
        int last = std::min(columns->Count() - 1, sub->Count());
        for (int s = 0; s < last; ++s) sub->SetStrings(s, ToScreen(sub->Strings(s)));
    }
}

// Its hints, the words around its range, its check box's word and its list view.
void TCodeConverter::ConvertSelectPanel(TSelectPanel* panel) const {
    ConvertLines(panel->ChildHints());
    TStringList words;  // the word lists are given anew, so the panel relabels itself
    words.Assign(panel->BeginWords());
    ConvertLines(&words);
    panel->SetBeginWords(&words);
    words.Assign(panel->FinalWords());
    ConvertLines(&words);
    panel->SetFinalWords(&words);
    panel->SetHintWord(ToScreen(panel->HintWord()));
    ConvertListView(panel->ListBox());
}

// Every node in the tree's overall order.
void TCodeConverter::ConvertTreeNodes(TTreeNode* node) const {
    for (; node; node = node->GetNext()) node->SetText(ToScreen(node->Text()));
}

void TCodeConverter::ConvertKindSpecific(TComponent* component, bool convertGrids) const {
    if (auto* view = dynamic_cast<TCustomListView*>(component)) {
        ConvertListView(view);
    } else if (auto* panel = dynamic_cast<TSelectPanel*>(component)) {
        ConvertSelectPanel(panel);
    } else if (auto* tabSet = dynamic_cast<TTabSet*>(component)) {
        int selected = tabSet->TabIndex();  // the tab names as one text, the selected tab kept
        tabSet->Tabs()->SetText(ToScreen(tabSet->Tabs()->Text()));
        tabSet->SetTabIndex(selected);
    } else if (auto* combo = dynamic_cast<TCustomComboBox*>(component)) {
        ConvertComboBox(combo);
    } else if (auto* menu = dynamic_cast<TMenu*>(component)) {
        menu->SetOwnerDraw(true);
    } else if (!convertGrids) {
        return;
    } else if (auto* tree = dynamic_cast<TTreeView*>(component)) {
        ConvertTreeNodes(tree->Items()->GetFirstNode());
    } else if (auto* grid = dynamic_cast<TStringGrid*>(component)) {
        for (int col = 0; col < grid->ColCount(); ++col)
            for (int row = 0; row < grid->RowCount(); ++row) grid->SetCells(col, row, ToScreen(grid->Cells(col, row)));
    }
}

int TCodeConverter::ShowConvertedMessage(const std::string& text, TMsgDlgType dialogType, TMsgDlgButtons buttons) {
    if (text.empty()) return 0;
    std::string shown = text;
    if (uiCodePage_ == "936" || systemCodePage_ == "936") shown += "      ";
    std::unique_ptr<TMessageForm, void (*)(TMessageForm*)> dialog(CreateMessageDialog(shown, dialogType, buttons),
                                                                  [](TMessageForm* d) { d->Free(); });
    if (auto* ownerForm = dynamic_cast<TCustomForm*>(Owner())) {
        if (ownerForm->WindowState() == wsMinimized) ownerForm->SetWindowState(wsNormal);
        dialog->SetCaption(ownerForm->Caption());
    }
    ApplyChineseFont(uiKind_, dialog->Font());
    return dialog->ShowModal();
}

void TCodeConverter::ApplyChineseFont(TConvertKind kind, TFont* font) {
    if (!font) return;
    font->SetName("SimSun");
    font->SetCharset(kind == 2 || kind == 3 ? CHINESEBIG5_CHARSET : GB2312_CHARSET);
}

}  // namespace krv
