#include "runtime/CodeConverter.h"

#include <gtest/gtest.h>

#include "LangFixtures.h"
#include "platform/ComCtrls.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Grids.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "platform/Tabs.h"
#include "controls/SelectPnl.h"

namespace krv {
namespace {

using test::kBig5Houtai;
using test::kBig5Zhijie;
using test::ScopedLangSettings;
using test::SettingsFor;

TEST(CodeConverterTest, NoConversionNeededLoadsNoLibrary) {
    ScopedLangSettings settings(SettingsFor("936"));
    test::ScopedLibraryName missing("NoSuchLanguageLibrary.dll");  // would raise if loaded
    TCodeConverter converter(nullptr);
    EXPECT_FALSE(converter.HasTranslator());
    EXPECT_EQ(converter.UIKind(), 0);
    EXPECT_EQ(converter.GbToBig5("后台"), "后台");
    EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    EXPECT_EQ(converter.ConvertVariant(2, "后台"), Variant("后台"));
}

TEST(CodeConverterTest, MissingLibraryFailsTheConstructionWhenAConversionIsNeeded) {
    ScopedLangSettings settings(SettingsFor("950"));
    test::ScopedLibraryName missing("NoSuchLanguageLibrary.dll");
    EXPECT_THROW(TCodeConverter(nullptr), Exception);
}

TEST(CodeConverterTest, DirectionsFollowTheKinds) {
    {
        ScopedLangSettings settings(SettingsFor("950"));  // UI kind 2, DB kind 2
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant(kBig5Houtai));
        EXPECT_EQ(converter.ScreenToDesign(kBig5Houtai), Variant("后台"));
        EXPECT_EQ(converter.DatabaseToScreen("直接处理"), Variant(kBig5Zhijie));
        EXPECT_EQ(converter.ScreenToDatabase(kBig5Zhijie), Variant("直接处理"));
        EXPECT_EQ(converter.GbToBig5("后台"), kBig5Houtai);
        EXPECT_EQ(converter.Big5ToGb(kBig5Houtai), "后台");
    }
    {
        ScopedLangSettings settings(SettingsFor("936", "936", "950"));  // UI kind 0, DB kind 1
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.UIKind(), 0);
        EXPECT_EQ(converter.DBKind(), 1);
        EXPECT_EQ(converter.DatabaseToScreen(kBig5Houtai), Variant("后台"));
        EXPECT_EQ(converter.ScreenToDatabase("后台"), Variant(kBig5Houtai));
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    }
    {
        ScopedLangSettings settings(SettingsFor("936", "950"));  // GB interface on a BIG5 system
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.UIKind(), 4);
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    }
}

TEST(CodeConverterTest, ConvertVariantWalksArraysAndKeepsOtherKinds) {
    ScopedLangSettings settings(SettingsFor("950"));
    TCodeConverter converter(nullptr);
    EXPECT_TRUE(converter.ConvertVariant(2, Variant::Null()).IsNull());
    EXPECT_TRUE(converter.ConvertVariant(2, Variant()).IsEmpty());
    EXPECT_EQ(converter.ConvertVariant(2, 42), Variant(42));
    EXPECT_EQ(converter.ConvertVariant(2, Variant::FromDate(38000.5)), Variant::FromDate(38000.5));
    EXPECT_EQ(converter.ConvertVariant(2, u"后台"), Variant(kBig5Houtai));  // wide in, narrow out
    for (TConvertKind other : {0, 3, 4}) EXPECT_EQ(converter.ConvertVariant(other, "后台"), Variant("后台"));

    Variant nested = VarArrayOf({"后台", VarArrayOf({"直接处理", 7, Variant::Null()}), 1.5});
    Variant converted = converter.ConvertVariant(2, nested);
    EXPECT_EQ(converted, VarArrayOf({kBig5Houtai, VarArrayOf({kBig5Zhijie, 7, Variant::Null()}), 1.5}));
    EXPECT_EQ(nested[0], Variant("后台"));  // the input is left alone

    Variant grid = VarArrayCreate(0, 1, 1, 2);
    grid.At(0, 1) = "后台";
    grid.At(1, 2) = VarArrayOf({"直接处理"});
    grid.At(1, 1) = 3;
    Variant back = converter.ConvertVariant(1, converter.ConvertVariant(2, grid));
    EXPECT_EQ(back, grid);
    EXPECT_EQ(converter.ConvertVariant(2, grid).At(1, 2)[0], Variant(kBig5Zhijie));
}

TEST(CodeConverterTest, ChineseFontByKind) {
    const struct { TConvertKind kind; TFontCharset charset; } cases[] = {
        {0, GB2312_CHARSET}, {1, GB2312_CHARSET}, {2, CHINESEBIG5_CHARSET}, {3, CHINESEBIG5_CHARSET}, {4, GB2312_CHARSET}};
    for (const auto& c : cases) {
        TFont font;
        TCodeConverter::ApplyChineseFont(c.kind, &font);
        EXPECT_EQ(font.Name(), "SimSun");
        EXPECT_EQ(font.Charset(), c.charset) << int(c.kind);
    }
}

// A form holding the kinds of components the conversion treats, with Chinese texts.
struct ConvertibleForm {
    ConvertibleForm() {
        form = Create<TForm>(nullptr);
        form->SetCaption("自动摊提折旧作业");
        form->SetHint("后台");
        label = Owned<TLabel>("lblTitle");
        label->SetCaption("直接处理");
        label->SetHint("后台");
        combo = Owned<TComboBox>("cboDate");
        combo->Items()->AddStrings({"直接处理", "后台"});
        combo->SetItemIndex(1);
        emptyCombo = Owned<TComboBox>("cboEmpty");
        simpleCombo = Owned<TComboBox>("cboSimple");
        simpleCombo->SetStyle(csSimple);
        simpleCombo->Items()->Add("后台");
        list = Owned<TListBox>("lstRows");
        list->Items()->Add("后台");
        memo = Owned<TMemo>("mmoNote");
        memo->Lines()->SetText("直接处理\r\n后台\r\n");
        edit = Owned<TEdit>("edName");
        edit->SetText("后台");
        tabs = Owned<TTabSet>("tsPages");
        tabs->Tabs()->AddStrings({"直接处理", "后台"});
        tabs->SetTabIndex(1);
        menu = Owned<TPopupMenu>("pmList");
        view = Owned<TListView>("lvSchemes");
        for (const char* caption : {"直接处理", "后台", "直接处理"}) view->Columns()->Add()->SetCaption(caption);
        TListItem* full = view->Items()->Add();
        full->SetCaption("后台");
        full->SubItems()->AddStrings({"直接处理", "后台", "beyond the columns"});
        TListItem* shortItem = view->Items()->Add();
        shortItem->SetCaption("直接处理");
        shortItem->SubItems()->Add("后台");  // fewer sub-items than columns
        tree = Owned<TTreeView>("tvTree");
        TTreeNode* root = tree->Items()->Add(nullptr, "后台");
        tree->Items()->AddChild(root, "直接处理");
        tree->Items()->Add(nullptr, "后台");
        panel = Owned<TSelectPanel>("sp02");
        panel->ChildHints()->AddStrings({"直接处理", "后台"});
        TStringList words;
        words.AddStrings({"后台", "直接处理"});
        panel->SetBeginWords(&words);
        panel->SetFinalWords(&words);
        panel->SetHintWord("后台");
        panel->Columns()->Add()->SetCaption("直接处理");
        panel->ListBox()->Items()->Add()->SetCaption("后台");
        grid = Owned<TStringGrid>("grCells");
        grid->SetColCount(2);
        grid->SetRowCount(2);
        grid->SetCells(1, 1, "后台");
        grid->SetCells(0, 1, "直接处理");
    }
    ~ConvertibleForm() { form->Free(); }
    template <class T>
    T* Owned(const char* name) {
        T* c = new T(form);
        c->SetName(name);
        if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(form);
        return c;
    }

    TForm* form;
    TLabel* label;
    TComboBox* combo;
    TComboBox* emptyCombo;
    TComboBox* simpleCombo;
    TListBox* list;
    TMemo* memo;
    TEdit* edit;
    TTabSet* tabs;
    TPopupMenu* menu;
    TListView* view;
    TTreeView* tree;
    TStringGrid* grid;
    TSelectPanel* panel;
};

TEST(ConvertFormTest, DesignTextsShownInBig5) {
    ScopedLangSettings settings(SettingsFor("950"));
    TCodeConverter converter(nullptr);
    ConvertibleForm f;
    converter.ConvertForm(f.form, true);
    EXPECT_EQ(f.form->Caption(), "自动摊提折旧作业");  // only a BIG5 system converts the form's caption
    EXPECT_EQ(f.form->Hint(), kBig5Houtai);
    EXPECT_EQ(f.label->Caption(), kBig5Zhijie);
    EXPECT_EQ(f.label->Hint(), kBig5Houtai);
    EXPECT_EQ(f.label->Font()->Name(), "SimSun");
    EXPECT_EQ(f.label->Font()->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(Screen->HintFont()->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(f.combo->Items()->Strings(0), kBig5Zhijie);
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    EXPECT_EQ(f.combo->Style(), csOwnerDrawFixed);
    EXPECT_EQ(f.emptyCombo->Style(), csOwnerDrawFixed);
    EXPECT_EQ(f.emptyCombo->ItemIndex(), -1);
    EXPECT_EQ(f.simpleCombo->Style(), csSimple);
    EXPECT_EQ(f.simpleCombo->ItemIndex(), 0);  // nothing was selected: the first item is
    EXPECT_EQ(f.list->Style(), lbOwnerDrawFixed);
    EXPECT_EQ(f.list->Items()->Strings(0), kBig5Houtai);
    EXPECT_EQ(f.memo->Lines()->Text(), kBig5Zhijie + "\r\n" + kBig5Houtai + "\r\n");
    EXPECT_EQ(f.edit->Text(), "后台");  // the edited text is the user's, not a design text
    EXPECT_EQ(f.tabs->Tabs()->Strings(1), kBig5Houtai);
    EXPECT_EQ(f.tabs->TabIndex(), 1);
    EXPECT_TRUE(f.menu->OwnerDraw());

    EXPECT_EQ(f.view->Columns()->Items(2)->Caption(), kBig5Zhijie);
    TListItem* full = f.view->Items()->Item(0);
    EXPECT_EQ(full->Caption(), kBig5Houtai);
    EXPECT_EQ(full->SubItems()->Strings(0), kBig5Zhijie);
    EXPECT_EQ(full->SubItems()->Strings(1), kBig5Houtai);
    EXPECT_EQ(full->SubItems()->Strings(2), "beyond the columns");
    EXPECT_EQ(f.view->Items()->Item(1)->SubItems()->Strings(0), kBig5Houtai);
    EXPECT_EQ(f.view->Items()->Item(1)->SubItems()->Count(), 1);
    EXPECT_EQ(f.tree->Items()->Item(1)->Text(), kBig5Zhijie);
    EXPECT_EQ(f.tree->Items()->Item(2)->Text(), kBig5Houtai);
    EXPECT_EQ(f.grid->Cells(1, 1), kBig5Houtai);
    EXPECT_EQ(f.grid->Cells(0, 1), kBig5Zhijie);

    TStrings* hints = f.panel->ChildHints();  // the panel's own hints come first
    EXPECT_EQ(hints->Strings(hints->Count() - 2), kBig5Zhijie);
    EXPECT_EQ(f.panel->BeginWords()->Strings(0), kBig5Houtai);
    EXPECT_EQ(f.panel->FinalWords()->Strings(1), kBig5Zhijie);
    EXPECT_EQ(f.panel->HintWord(), kBig5Houtai);
    EXPECT_EQ(f.panel->Columns()->Items(0)->Caption(), kBig5Zhijie);
    EXPECT_EQ(f.panel->ListBox()->Items()->Item(0)->Caption(), kBig5Houtai);
}

TEST(ConvertFormTest, GridsOnlyWhenAsked) {
    ScopedLangSettings settings(SettingsFor("950"));
    TCodeConverter converter(nullptr);
    ConvertibleForm f;
    converter.ConvertForm(f.form, false);
    EXPECT_EQ(f.tree->Items()->Item(0)->Text(), "后台");
    EXPECT_EQ(f.grid->Cells(1, 1), "后台");
    EXPECT_EQ(f.view->Items()->Item(0)->Caption(), kBig5Houtai);  // list views are always converted
}

TEST(ConvertFormTest, NoConversionOrFontsOnlyByKind) {
    {
        ScopedLangSettings settings(SettingsFor("936"));  // kind 0: the form stays as designed
        TCodeConverter converter(nullptr);
        ConvertibleForm f;
        std::string fontName = f.label->Font()->Name();
        converter.ConvertForm(f.form, true);
        EXPECT_EQ(f.form->Caption(), "自动摊提折旧作业");
        EXPECT_EQ(f.label->Caption(), "直接处理");
        EXPECT_EQ(f.label->Font()->Name(), fontName);
        EXPECT_EQ(f.combo->Style(), csDropDown);
        EXPECT_FALSE(f.menu->OwnerDraw());
    }
    {
        ScopedLangSettings settings(SettingsFor("936", "950"));  // kind 4: GB interface, BIG5 system
        TCodeConverter converter(nullptr);
        ConvertibleForm f;
        converter.ConvertForm(f.form, true);
        TTranslator translator;
        EXPECT_EQ(f.form->Caption(), translator.GbToBig5("自动摊提折旧作业"));
        EXPECT_EQ(f.label->Caption(), "直接处理");
        EXPECT_EQ(f.combo->Items()->Strings(1), "后台");
        EXPECT_EQ(f.label->Font()->Name(), "SimSun");
        EXPECT_EQ(f.label->Font()->Charset(), GB2312_CHARSET);
        EXPECT_EQ(f.combo->Style(), csOwnerDrawFixed);
        EXPECT_EQ(f.combo->ItemIndex(), 1);
    }
}

TEST(ConvertFormTest, ConvertedMessageBox) {
    HeadlessDialogDriver().Reset();
    ScopedLangSettings settings(SettingsFor("950", "950"));
    TForm* form = Create<TForm>(nullptr);
    form->SetCaption("标题");
    form->SetWindowState(wsMinimized);
    auto* converter = new TCodeConverter(form);
    EXPECT_EQ(converter->ShowConvertedMessage("", mtError, {mbOK}), 0);
    EXPECT_TRUE(HeadlessDialogDriver().Records().empty());

    HeadlessDialogDriver().QueueAnswer(mrNo);
    EXPECT_EQ(converter->ShowConvertedMessage("确定?", mtConfirmation, {mbYes, mbNo}), mrNo);
    ASSERT_EQ(HeadlessDialogDriver().Records().size(), 1u);
    const TDialogRecord& shown = HeadlessDialogDriver().Records()[0];
    EXPECT_EQ(shown.text, "确定?");  // neither code page is 936: no padding
    EXPECT_EQ(shown.caption, "标题");
    EXPECT_EQ(shown.fontName, "SimSun");
    EXPECT_EQ(shown.fontCharset, CHINESEBIG5_CHARSET);
    EXPECT_EQ(form->WindowState(), wsNormal);
    form->Free();

    ScopedLangSettings gb(SettingsFor("936"));
    TCodeConverter plain(nullptr);
    plain.ShowConvertedMessage("完成", mtInformation, {mbOK});
    EXPECT_EQ(HeadlessDialogDriver().Records().back().text, "完成      ");
    HeadlessDialogDriver().Reset();
}

}  // namespace
}  // namespace krv
