// Edits that carry their own label (and, for the lookup edit, their own lookup button), kept
// beside the edit whenever it moves.
#pragma once

#include <cstdint>

#include "controls/GSpdBtn.h"
#include "platform/DB.h"
#include "platform/StdCtrls.h"

namespace krv {

enum TLabelPosition : uint8_t { lpAbove, lpBelow, lpLeft, lpRight };
const TTypeInfo& TypeInfoLabelPosition();  // "TLabelPosition"

class TKrEdit : public TEdit {
    KRV_CLASS(TKrEdit)
    // The label "EditLabel" (empty, focusing this edit) left of the edit, 4 pixels away.
    explicit TKrEdit(TComponent* owner);

    TLabel* EditLabel() const { return label_; }
    // The label's text (the edit's own text stays Text).
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    TLabelPosition LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(TLabelPosition position);
    int LabelSpacing() const { return labelSpacing_; }
    // A negative spacing is ignored.
    void SetLabelSpacing(int spacing);

    // The owned label (and button) go along with the edit's parent, bounds, visibility and state.
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    // Places what the edit carries beside it.
    virtual void PlaceAttachments();

private:
    void PlaceLabel();

    TLabel* label_ = nullptr;
    TLabelPosition labelPosition_ = lpLeft;
    int labelSpacing_ = 4;
};

// The variant for forms bound to data; it places its label as TKrEdit does.
// An edit bound to a field of a data set: it names its data source and field, which attached
// labels read their caption from.
class TKrDBEdit : public TKrEdit {
    KRV_CLASS(TKrDBEdit)
    explicit TKrDBEdit(TComponent* owner) : TKrEdit(owner) {}

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* dataSource);
    const std::string& DataField() const { return dataField_; }
    void SetDataField(const std::string& dataField) { dataField_ = dataField; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSource* dataSource_ = nullptr;
    std::string dataField_;
};

// An edit with a lookup button: the button asks the edit's form for the edit's lookup window
// unless OnDialog takes the click.
class TKrBtnDBEdit : public TKrDBEdit {
    KRV_CLASS(TKrBtnDBEdit)
    // The button "F2Button": flat, bitmap 8, 2 pixels right of the edit.
    explicit TKrBtnDBEdit(TComponent* owner);

    TGSpeedButton* F2Button() const { return button_; }
    int ButtonSpacing() const { return buttonSpacing_; }
    void SetButtonSpacing(int spacing);
    int GlyphIndex() const;
    void SetGlyphIndex(int index);
    std::string ButtonHint() const;
    void SetButtonHint(const std::string& hint);

    void SetParent(TWinControl* parent) override;

    TNotifyEvent OnDialog;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void PlaceAttachments() override;

private:
    void ButtonClick(TObject* sender);

    TGSpeedButton* button_ = nullptr;
    int buttonSpacing_ = 2;
};

}  // namespace krv
