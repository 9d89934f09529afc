// Conversion between the Simplified (GB) and Traditional (BIG5) Chinese code pages for what a form
// shows and what goes to and comes from the database, with the code pages and conversion kinds of
// the client or server settings.
#pragma once

#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Variant.h"
#include "runtime/LangCommon.h"
#include "runtime/TranslatorU.h"

namespace krv {

class TFont;
class TCustomListView;
class TTreeNode;
class TSelectPanel;

class TCodeConverter : public TComponent {
    KRV_CLASS(TCodeConverter)
    // Reads the client settings; loads the conversion library when a conversion kind is not 0
    // (and so raises the library's errors when it is missing).
    explicit TCodeConverter(TComponent* owner);
    ~TCodeConverter() override;

    // Kind 1 BIG5 to GB, 2 GB to BIG5, other kinds leave the value. Texts (wide ones narrowed with
    // the system code page) are converted to narrow text; arrays of one and two dimensions are
    // walked, nested arrays included; every other value keeps its kind and value.
    Variant ConvertVariant(TConvertKind kind, Variant v) const;
    Variant DatabaseToScreen(Variant v) const { return ConvertVariant(dbKind_, std::move(v)); }
    Variant DesignToScreen(Variant v) const { return ConvertVariant(uiKind_, std::move(v)); }
    // These never raise: on any error the input comes back.
    Variant ScreenToDatabase(const Variant& v) const noexcept;
    Variant ScreenToDesign(const Variant& v) const noexcept;

    // Through the library; empty text and a converter without library give the text back.
    std::string Big5ToGb(const std::string& s) const;
    std::string GbToBig5(const std::string& s) const;

    // Converts the texts and fonts of a form and of every component it owns, by the UI kind (only
    // when it is not 0): captions, hints, list lines, memo lines, status panels, list view columns
    // and items, tab names, selection panel texts, menus and, with ConvertGrids, tree nodes and
    // grid cells. Combo and list boxes become owner-drawn so that the converted font draws them.
    void ConvertForm(TCustomForm* form, bool convertGrids);

    // A message dialog with the owner form's caption and a Chinese font; 0 for an empty text.
    int ShowConvertedMessage(const std::string& text, TMsgDlgType dialogType, TMsgDlgButtons buttons);

    // "SimSun" with the BIG5 character set for kinds 2 and 3, the GB character set otherwise.
    static void ApplyChineseFont(TConvertKind kind, TFont* font);

    static TConvertKind ReverseKind(TConvertKind kind) { return kind == 1 ? 2 : kind == 2 ? 1 : kind; }

    const std::string& SystemCodePage() const { return systemCodePage_; }
    const std::string& UICodePage() const { return uiCodePage_; }
    const std::string& DBCodePage() const { return dbCodePage_; }
    TConvertKind UIKind() const { return uiKind_; }
    TConvertKind DBKind() const { return dbKind_; }
    bool HasTranslator() const { return translator_ != nullptr; }
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType designType) { designType_ = designType; }

private:
    void ReadSettings();
    void ConvertInPlace(TConvertKind kind, Variant& v) const;
    std::string ConvertText(TConvertKind kind, const std::string& s) const;
    std::string ToScreen(const std::string& s) const { return ConvertText(uiKind_, s); }
    void ConvertTextProperty(TPersistent* object, const std::string& name) const;
    void ConvertLines(TStrings* lines) const;
    void ConvertPropertyGroups(TComponent* component) const;
    void ConvertStyle(TComponent* component) const;
    void ConvertKindSpecific(TComponent* component, bool convertGrids) const;
    void ConvertListView(TCustomListView* view) const;
    void ConvertTreeNodes(TTreeNode* node) const;
    void ConvertSelectPanel(TSelectPanel* panel) const;

    std::unique_ptr<TTranslator> translator_;
    std::string systemCodePage_ = "936";
    std::string uiCodePage_ = "936";
    std::string dbCodePage_ = "936";
    TConvertKind uiKind_ = 0;
    TConvertKind dbKind_ = 0;
    TDesignType designType_ = dtClient;
};

}  // namespace krv
