// Language packages: XML files, one per form class, that give components new texts (captions,
// hints, list lines, column titles, fonts) by component name and property path, and that hold
// the message texts of the forms.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Classes.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"
#include "platform/XmlDom.h"
#include "runtime/LangCommon.h"

namespace krv {

KRV_DECLARE_EXCEPTION(LanguageControllerError, Exception);

// Called with the component being read and its element.
using TLoadComponentEvent = TEvent<TComponent*, const XmlNode&>;
template <>
inline constexpr const char* kEventTypeName<TLoadComponentEvent> = "TLoadComponentEvent";

// Reads the attributes of one element into one component.
class ILangRead {
public:
    virtual ~ILangRead() = default;
    virtual TComponent* GetComponent() const = 0;
    virtual XmlNode GetComponentNode() const = 0;
    virtual void SetComponent(TComponent* component) = 0;
    virtual void SetComponentNode(const XmlNode& node) = 0;
    // An integer reads the attribute at that index, a text the attribute of that name; any other
    // value reads nothing.
    virtual void ReadAttribute(const Variant& indexOrName) = 0;
    virtual void ReadAttributes() = 0;
};

// Each attribute is one assignment: its name a property path, its value the new text. Paths that
// lead nowhere and values that do not fit are skipped.
class TComponentRead : public ILangRead {
public:
    TComponentRead(TComponent* component, const XmlNode& node) : component_(component), node_(node) {}

    TComponent* GetComponent() const override { return component_; }
    XmlNode GetComponentNode() const override { return node_; }
    void SetComponent(TComponent* component) override { component_ = component; }
    void SetComponentNode(const XmlNode& node) override { node_ = node; }
    void ReadAttribute(const Variant& indexOrName) override;
    void ReadAttributes() override;

protected:
    void Apply(const XmlNode& attribute);

private:
    TComponent* component_;
    XmlNode node_;
};

// Rewriting a combo box's item lines clears its selection, so the selection is put back.
class TCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAttributes() override;
};

// The same for the data-aware combo box of the grid pack.
class TwwDBCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAttributes() override;
};

class TReaderFactory {
public:
    static std::unique_ptr<ILangRead> CreateReader(TComponent* component, const XmlNode& node);
};

// Applies a parsed package to components.
class TLangReader {
public:
    explicit TLangReader(XmlDocument document);

    // The component from its element (a form or data module also from the root element), then
    // every component it owns, recursively.
    void ReadComponent(TComponent* component);
    // Names compared trimmed and ignoring case.
    void SetExcludeControls(const TStrings& names);
    bool IsExcluded(const std::string& name) const;

    const XmlDocument& Document() const { return document_; }

    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

private:
    void Read(TComponent* component, const XmlNode& node);
    XmlNode FindElement(const std::string& componentName);

    XmlDocument document_;
    XmlNode root_;
    std::vector<std::string> excluded_;  // trimmed, upper-cased
    // First element of each tag in document order, built on first use: the answer of "//name".
    std::optional<std::unordered_map<std::string, XmlNode>> firstByName_;
};

class TLanguageController : public TComponent {
    KRV_CLASS(TLanguageController)
    explicit TLanguageController(TComponent* owner);
    ~TLanguageController() override;

    // Active when a parsed package is held. Activation raises LanguageControllerError when there
    // is neither package text nor file ("Cannot Find File %s!") or when the package does not parse
    // (the parser's reason). While the owner is being loaded the value is kept for Loaded().
    bool Active() const;
    void SetActive(bool active);

    // Package text given inline; when not empty it is parsed instead of the file.
    TStrings* Package() const { return package_.get(); }
    void SetPackage(const TStrings* lines) { package_->Assign(lines); }
    const std::string& PackageFile() const { return packageFile_; }

    TStrings* ExcludeControls() const { return excludeControls_.get(); }
    void SetExcludeControls(const TStrings* names) { excludeControls_->Assign(names); }

    // Raises LanguageControllerError "No active LanguageController!" when not active.
    TLangReader& Reader() const;

    TNotifyEvent BeforeOpen;
    TNotifyEvent AfterOpen;
    TNotifyEvent BeforeClose;
    TNotifyEvent AfterClose;
    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

protected:
    void Loaded() override;
    void SetPackageFile(const std::string& path);
    void ClearPackage() { package_->Clear(); }

private:
    void Open();
    void Close();
    void PackageChanged(TObject* sender);
    void ExcludeControlsChanged(TObject* sender);

    std::optional<XmlDocument> document_;
    std::unique_ptr<TLangReader> reader_;
    std::unique_ptr<TStringList> package_;
    std::string packageFile_;
    std::unique_ptr<TStringList> excludeControls_;
    bool streamedActive_ = false;
};

// Finds its packages in the language folder of the client or server installation.
class TKrLangController : public TLanguageController {
    KRV_CLASS(TKrLangController)
    explicit TKrLangController(TComponent* owner);

    // A bare file base (a form class name); the package file becomes the language folder + name
    // + ".Lng" (none without a language folder). A new file closes the controller.
    const std::string& LangPackageName() const { return langPackageName_; }
    void SetLangPackageName(const std::string& name);
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType designType) { designType_ = designType; }

private:
    std::string langPackageName_;
    TDesignType designType_ = dtClient;
};

}  // namespace krv
