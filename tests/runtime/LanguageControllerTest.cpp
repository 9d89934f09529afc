#include "runtime/LanguageController.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "LangFixtures.h"
#include "platform/CodePage.h"
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Registry.h"
#include "platform/StdCtrls.h"
#include "controls/SelectPnl.h"
#include "platform/TypInfo.h"

namespace krv {
namespace {

using test::ScopedLangSettings;
using test::SettingsFor;
using test::TempFolder;

// A component with the kinds of properties packages set: texts, a font, lines, a colour, an
// enumeration, a Boolean and a collection.
class TLangProbe : public TComponent {
    KRV_CLASS(TLangProbe)
    explicit TLangProbe(TComponent* owner) : TComponent(owner) {}

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s) { caption_ = s; }
    std::string Hint() const { return hint_; }
    void SetHint(const std::string& s) { hint_ = s; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* items) { items_->Assign(items); }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e) { enabled_ = e; }
    int Number() const { return number_; }
    void SetNumber(int n) { number_ = n; }
    TCollection* Columns() const { return columns_.get(); }

private:
    std::string caption_ = "设计";
    std::string hint_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
    TColor color_ = clBtnFace;
    TAlignment alignment_ = taLeftJustify;
    bool enabled_ = true;
    int number_ = 0;
    std::unique_ptr<TCollection> columns_;

public:
    static TCollectionItem* NewColumn(TCollection* c);
    void AddColumns(int n) {
        if (!columns_) columns_ = std::make_unique<TCollection>(&TLangProbe::NewColumn);
        for (int i = 0; i < n; ++i) columns_->Add();
    }
};

class TLangColumn : public TCollectionItem {
    KRV_CLASS(TLangColumn)
    using TCollectionItem::TCollectionItem;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s) { caption_ = s; }

private:
    std::string caption_;
};

TCollectionItem* TLangProbe::NewColumn(TCollection* c) { return new TLangColumn(c); }

const TClassInfo& TLangColumn::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TLangColumn>("TLangColumn", TCollectionItem::StaticClassInfo())
                                       .Str("Caption", &TLangColumn::Caption, &TLangColumn::SetCaption)
                                       .Build();
    return info;
}

const TClassInfo& TLangProbe::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TLangProbe>("TLangProbe", TComponent::StaticClassInfo())
                                       .Str("Caption", &TLangProbe::Caption, &TLangProbe::SetCaption)
                                       .Str("Hint", &TLangProbe::Hint, &TLangProbe::SetHint)
                                       .Object("Font", &TLangProbe::Font, &TLangProbe::SetFont)
                                       .Object("Items", &TLangProbe::Items, &TLangProbe::SetItems)
                                       .Int("Color", &TLangProbe::Color, &TLangProbe::SetColor, TypeInfoColor())
                                       .Enum("Alignment", TypeInfoAlignment(), &TLangProbe::Alignment, &TLangProbe::SetAlignment)
                                       .Bool("Enabled", &TLangProbe::Enabled, &TLangProbe::SetEnabled)
                                       .Int("Number", &TLangProbe::Number, &TLangProbe::SetNumber)
                                       .Object("Columns", &TLangProbe::Columns)
                                       .Build();
    return info;
}

// A form with a few probes, one of them owning another.
struct ProbeForm {
    ProbeForm() {
        form = Create<TForm>(nullptr);
        form->SetName("frmProbe");
        form->SetCaption("设计标题");
        ok = new TLangProbe(form);
        ok->SetName("btnOk");
        list = new TLangProbe(form);
        list->SetName("lstItems");
        list->Items()->Add("一");
        list->AddColumns(1);
        inner = new TLangProbe(list);
        inner->SetName("innerProbe");
    }
    ~ProbeForm() { form->Free(); }
    TForm* form;
    TLangProbe* ok;
    TLangProbe* list;
    TLangProbe* inner;
};

// Reads a package text into the form as the base form does.
void ReadPackage(TLanguageController& controller, TComponent* target, const std::string& text) {
    TStringList lines;
    lines.SetText(text);
    controller.SetPackage(&lines);
    controller.SetActive(true);
    controller.Reader().ReadComponent(target);
}

TEST(LanguageFolderTest, FolderByUiCodePage) {
    TempFolder home;
    for (const char* name : {"CHS", "CHT", "ENG"}) home.Write(std::string("MultiLanguage/") + name + "/x", "");
    const struct { const char* ui; const char* folder; } cases[] = {
        {"936", "CHS"}, {"950", "CHT"}, {"437", "ENG"}, {"1252", nullptr}, {"", nullptr}};
    for (const auto& c : cases) {
        ScopedLangSettings settings(SettingsFor(c.ui, "936", "936", home.Path()));
        EXPECT_EQ(LanguageFolder(dtClient),
                  c.folder ? home.Path() + "MultiLanguage/" + c.folder + "/" : std::string())
            << c.ui;
    }
    TempFolder bare;  // no MultiLanguage folder at all
    ScopedLangSettings settings(SettingsFor("936", "936", "936", bare.Path()));
    EXPECT_EQ(LanguageFolder(dtClient), "");
    EXPECT_EQ(LanguagePackagePath(dtClient, "TfrmBaseGene"), "");
}

// Without a replaced reader the installation's settings decide: a Western system code page is
// normalised to "437", whose packages lie in ENG.
TEST(LanguageFolderTest, FromTheInstallationSettings) {
    TempFolder home;
    home.Write("MultiLanguage/ENG/TfrmBaseBatch.Lng", "<R><sOver Msg=\"Done\"/></R>");
    SetRegistryFilePath(home.Write("registry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n"
                                                   "\"ClientPath\"=\"" + home.Path() + "\"\r\n"));
    SetSystemCodePage(1252);
    EXPECT_EQ(LanguageFolder(dtClient), home.Path() + "MultiLanguage/ENG/");
    EXPECT_EQ(ReadLangMessage(false, "TfrmBaseBatch", "sOver", "x"), "Done");
    EXPECT_EQ(ReadLangMessage(true, "TfrmBaseBatch", "sOver", "x"), "x");  // no server installation
    SetSystemCodePage(936);
    SetRegistryFilePath("");
}

class ReadLangMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        client_.Write("MultiLanguage/CHS/TfrmBaseBatch.Lng",
                      WideToAnsi(u"<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><g><sOver Msg=\"作业完成\"/></g>"
                                 u"<sEmpty Msg=\"\"/><sNoMsg Text=\"x\"/></Root>",
                                 936));
        client_.Write("MultiLanguage/CHS/TfrmBig5.Lng",
                      WideToAnsi(u"<?xml version=\"1.0\" encoding=\"BIG5\"?><Root><sOver Msg=\"處理完畢\"/></Root>", 950));
        client_.Write("MultiLanguage/CHS/TfrmUtf8.Lng", WideToUtf8(u"<Root><sOver Msg=\"处理完毕\"/></Root>"));
        client_.Write("MultiLanguage/CHS/TfrmBroken.Lng", "<Root><sOver Msg=\"x\"></Root>");
        server_.Write("MultiLanguage/CHS/TfrmBaseBatch.Lng", "<Root><sOver Msg=\"server\"/></Root>");
    }
    TempFolder client_;
    TempFolder server_;
};

TEST_F(ReadLangMessageTest, FindsMessagesAndFallsBackToTheDefault) {
    ScopedLangSettings settings(SettingsFor("936", "936", "936", client_.Path()),
                                SettingsFor("936", "936", "936", server_.Path()));
    const struct { const char* file; const char* message; std::string expected; } cases[] = {
        {"TfrmBaseBatch", "sOver", "作业完成"},
        {"TfrmBaseBatch", "sEmpty", ""},  // present but empty: not the default
        {"TfrmBaseBatch", "sNoMsg", "默认"},
        {"TfrmBaseBatch", "sMissing", "默认"},
        {"TfrmBaseBatch", "not a name", "默认"},
        {"TfrmBaseBatch", "*", "默认"},
        {"TfrmBig5", "sOver", WideToAnsi(u"處理完畢", 936)},
        {"TfrmUtf8", "sOver", "处理完毕"},
        {"TfrmBroken", "sOver", "默认"},
        {"TfrmNone", "sOver", "默认"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLangMessage(false, c.file, c.message, "默认"), c.expected) << c.file << " " << c.message;
    EXPECT_EQ(ReadLangMessage(true, "TfrmBaseBatch", "sOver", "默认"), "server");
}

TEST(LanguageControllerTest, ActivationErrorsAndEvents) {
    TKrLangController controller(nullptr);
    EXPECT_FALSE(controller.Active());
    try {
        controller.SetActive(true);
        FAIL() << "no exception";
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "Cannot Find File !");
    }
    try {
        controller.Reader();
        FAIL() << "no exception";
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "No active LanguageController!");
    }

    TStringList bad;
    bad.SetText("<Root><a></Root>");
    controller.SetPackage(&bad);
    XmlDocument probe;
    probe.LoadXml(std::string("<Root><a></Root>"));
    try {
        controller.SetActive(true);
        FAIL() << "no exception";
    } catch (const LanguageControllerError& e) {
        EXPECT_EQ(e.Message(), probe.ParseError().Reason);
    }
    EXPECT_FALSE(controller.Active());

    std::vector<std::string> calls;
    controller.BeforeOpen = [&](TObject* s) { calls.push_back(s == &controller ? "BeforeOpen" : "?"); };
    controller.AfterOpen = [&](TObject*) { calls.push_back("AfterOpen"); };
    controller.BeforeClose = [&](TObject*) { calls.push_back("BeforeClose"); };
    controller.AfterClose = [&](TObject*) { calls.push_back("AfterClose"); };
    TStringList good;
    good.SetText("<Root Caption=\"x\"/>");
    controller.SetPackage(&good);
    controller.SetActive(true);
    controller.SetActive(true);  // no change, no events
    EXPECT_TRUE(controller.Active());
    good.SetText("<Other/>");
    controller.SetPackage(&good);  // a new text closes the controller
    EXPECT_FALSE(controller.Active());
    EXPECT_EQ(calls, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose"}));
}

TEST(LanguageControllerTest, ActiveIsAppliedWhenLoadingEnds) {
    TComponent owner(nullptr);
    auto* controller = new TKrLangController(&owner);
    TStringList text;
    text.SetText("<Root/>");
    controller->SetPackage(&text);
    owner.BeginLoading();
    controller->SetActive(true);
    EXPECT_FALSE(controller->Active());
    owner.EndLoading();
    EXPECT_TRUE(controller->Active());
}

TEST(LanguageControllerTest, PackageNameResolvesInTheLanguageFolder) {
    TempFolder home;
    std::string file = home.Write("MultiLanguage/CHT/TfrmBaseGene.Lng", "<Root/>");
    ScopedLangSettings settings(SettingsFor("950", "936", "936", home.Path()));
    TKrLangController controller(nullptr);
    controller.SetLangPackageName("TfrmBaseGene");
    EXPECT_EQ(controller.PackageFile(), file);
    controller.SetActive(true);
    EXPECT_TRUE(controller.Active());
    controller.SetLangPackageName("TfrmZpnr42");  // another file: closed
    EXPECT_FALSE(controller.Active());
    EXPECT_EQ(controller.PackageFile(), home.Path() + "MultiLanguage/CHT/TfrmZpnr42.Lng");
}

TEST(LangReaderTest, AppliesPathsAndSkipsWhatDoesNotFit) {
    ProbeForm f;
    TKrLangController controller(f.form);
    ReadPackage(controller, f.form,
                "<Root Caption=\"新标题\">"
                "  <deep><deeper><btnOk Caption=\" 确定 \" Hint=\"提示\" Font.Name=\"SimSun\" Font.Charset=\"134\""
                "     Color=\"clRed\" Alignment=\" taCenter \" Number=\"$1F\"/></deeper></deep>"
                "  <btnOk Caption=\"second, ignored\"/>"
                "  <lstItems Items_2=\"三\" Columns_0.Caption=\"列\" Columns_5.Caption=\"out of range\""
                "     NoSuch=\"x\" Enabled=\"maybe\" Font=\"Arial\" Items_-1=\"neg\" Items_99999999=\"huge\""
                "     Number=\"12x\" Font.NoSuch.Name=\"x\" Hint_x=\"y\"/>"
                "</Root>");
    EXPECT_EQ(f.form->Caption(), "新标题");
    EXPECT_EQ(f.ok->Caption(), " 确定 ");
    EXPECT_EQ(f.ok->Hint(), "提示");
    EXPECT_EQ(f.ok->Font()->Name(), "SimSun");
    EXPECT_EQ(f.ok->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(f.ok->Color(), clRed);
    EXPECT_EQ(f.ok->Alignment(), taCenter);
    EXPECT_EQ(f.ok->Number(), 31);

    ASSERT_EQ(f.list->Items()->Count(), 3);
    EXPECT_EQ(f.list->Items()->Strings(0), "一");
    EXPECT_EQ(f.list->Items()->Strings(1), "");
    EXPECT_EQ(f.list->Items()->Strings(2), "三");
    EXPECT_EQ(static_cast<TLangColumn*>(f.list->Columns()->Items(0))->Caption(), "列");
    // Everything else was skipped and changed nothing.
    EXPECT_TRUE(f.list->Enabled());
    EXPECT_EQ(f.list->Number(), 0);
    EXPECT_EQ(f.list->Font()->Name(), TFont().Name());
    EXPECT_EQ(f.list->Hint(), "");
    // An index past the columns leaves the walk on the component itself.
    EXPECT_EQ(f.list->Caption(), "out of range");
    EXPECT_EQ(f.list->Columns()->Count(), 1);
}

TEST(LangReaderTest, WalksOwnedComponentsHonoursExclusionsAndCallsTheHandlers) {
    ProbeForm f;
    TKrLangController controller(f.form);
    TStringList excluded;
    excluded.Add("  LSTITEMS ");
    controller.SetExcludeControls(&excluded);
    std::vector<std::string> loaded;
    controller.BeforeLoadComponent = [&](TComponent* c, const XmlNode& n) {
        loaded.push_back(c->Name() + "<" + n.NodeNameA());
    };
    controller.AfterLoadComponent = [&](TComponent* c, const XmlNode&) { loaded.push_back(c->Name() + ">"); };
    ReadPackage(controller, f.form,
                "<Root Caption=\"A\"><frmProbe Hint=\"h\"/><lstItems Caption=\"L\"/><innerProbe Caption=\"I\"/></Root>");
    EXPECT_EQ(f.list->Caption(), "设计");  // excluded
    EXPECT_EQ(f.inner->Caption(), "I");    // but what it owns is read
    // The form is read from the root and again from its own element.
    EXPECT_EQ(loaded, (std::vector<std::string>{"frmProbe<Root", "frmProbe>", "frmProbe<frmProbe", "frmProbe>",
                                                "innerProbe<innerProbe", "innerProbe>"}));

    // A list given later reaches the active reader at once.
    excluded.Clear();
    controller.SetExcludeControls(&excluded);
    controller.Reader().ReadComponent(f.form);
    EXPECT_EQ(f.list->Caption(), "L");
}

// Packages of each class of a form's chain, base first, as the base form applies them; written in
// the three encodings packages come in.
TEST(LangReaderTest, LaterPackagesWin) {
    TempFolder home;
    home.Write("MultiLanguage/CHS/TKRForm.Lng",
               WideToAnsi(u"<?xml version=\"1.0\" encoding=\"GB2312\"?><R><btnOk Caption=\"基础\" Hint=\"基础提示\"/></R>", 936));
    home.Write("MultiLanguage/CHS/TfrmBaseGene.Lng",
               WideToAnsi(u"<?xml version=\"1.0\" encoding=\"BIG5\"?><R><btnOk Caption=\"通用\"/></R>", 950));
    home.Write("MultiLanguage/CHS/TfrmZpnr42.Lng",
               WideToUtf8(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><R Caption=\"自动摊提折旧作业\"/>"));
    ScopedLangSettings settings(SettingsFor("936", "936", "936", home.Path()));
    ProbeForm f;
    auto* controller = new TKrLangController(f.form);
    for (const char* cls : {"TKRForm", "TfrmBaseGene", "TfrmBaseOpt", "TfrmZpnr42"}) {
        controller->SetLangPackageName(cls);
        if (!FileExists(controller->PackageFile())) continue;
        controller->SetActive(true);
        controller->Reader().ReadComponent(f.form);
    }
    EXPECT_EQ(f.ok->Caption(), "通用");
    EXPECT_EQ(f.ok->Hint(), "基础提示");
    EXPECT_EQ(f.form->Caption(), "自动摊提折旧作业");
}

TEST(LangReaderTest, ListViewsTreeViewsAndComboBoxes) {
    ProbeForm f;
    auto* view = new TListView(f.form);
    view->SetName("lvSchemes");
    view->Columns()->Add()->SetCaption("名称");
    view->Items()->Add()->SetCaption("甲");
    auto* tree = new TTreeView(f.form);
    tree->SetName("tvTree");
    TTreeNode* root = tree->Items()->Add(nullptr, "根");
    tree->Items()->AddChild(root, "子");
    auto* combo = new TComboBox(f.form);
    combo->SetName("cboMode");
    combo->Items()->Add("一");
    combo->SetItemIndex(0);
    auto* panel = new TSelectPanel(f.form);
    panel->SetName("sp02");
    panel->Columns()->Add();
    panel->Columns()->Add();
    TKrLangController controller(f.form);
    ReadPackage(controller, f.form,
                "<R><sp02 Columns_1.Caption=\"资产编号\"/><lvSchemes Columns_0.Caption=\"Name\" Columns_1.Caption=\"no column\" Items_0.Caption=\"A\"/>"
                "<tvTree Items_1.Text=\"Child\" Items_5.Text=\"none\"/><cboMode Items_2=\"three\"/></R>");
    EXPECT_EQ(panel->Columns()->Items(1)->Caption(), "资产编号");
    EXPECT_EQ(view->Columns()->Items(0)->Caption(), "Name");
    EXPECT_EQ(view->Columns()->Count(), 1);
    EXPECT_EQ(view->Items()->Item(0)->Caption(), "A");
    EXPECT_EQ(tree->Items()->Item(0)->Text(), "根");
    EXPECT_EQ(tree->Items()->Item(1)->Text(), "Child");
    ASSERT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Strings(1), "");
    EXPECT_EQ(combo->Items()->Strings(2), "three");
    EXPECT_EQ(combo->ItemIndex(), 0);  // the selection survives the rewritten lines
}

TEST(LangReaderTest, ReadsOneAttributeByIndexOrName) {
    ProbeForm f;
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(std::string("<btnOk Caption=\"C\" Hint=\"H\"/>")));
    auto reader = TReaderFactory::CreateReader(f.ok, doc.DocumentElement());
    reader->ReadAttribute(1);
    EXPECT_EQ(f.ok->Hint(), "H");
    EXPECT_EQ(f.ok->Caption(), "设计");
    reader->ReadAttribute("Caption");
    EXPECT_EQ(f.ok->Caption(), "C");
    reader->ReadAttribute(7);
    reader->ReadAttribute(2.5);
    reader->ReadAttribute(Variant::Null());
    EXPECT_EQ(reader->GetComponent(), f.ok);
}

TEST(LangReaderTest, EmptyAndHugeTexts) {
    ProbeForm f;
    TKrLangController controller(f.form);
    std::string huge(2 * 1024 * 1024, 'x');
    ReadPackage(controller, f.form, "<R><btnOk Caption=\"\" Hint=\"" + huge + "\"/></R>");
    EXPECT_EQ(f.ok->Caption(), "");
    EXPECT_EQ(f.ok->Hint(), huge);
}

}  // namespace
}  // namespace krv
