// Data-set basics the data-aware controls bind to: fields with display labels, a data set that
// holds them, and the data source that controls name in their "DataSource" property.
#pragma once

#include <string>

#include "platform/Classes.h"
#include "platform/SysUtils.h"
#include "platform/TypInfo.h"

namespace krv {

KRV_DECLARE_EXCEPTION(EDatabaseError, Exception);

class TDataSet;

class TField : public TComponent {
    KRV_CLASS(TField)
    explicit TField(TComponent* owner) : TComponent(owner) {}

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name) { fieldName_ = name; }
    // The field name until a label of its own is set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
    TDataSet* DataSet() const;

private:
    std::string fieldName_;
    std::string displayLabel_;
};

// A data set owns its fields; lookups by name ignore case.
class TDataSet : public TComponent {
    KRV_CLASS(TDataSet)
    explicit TDataSet(TComponent* owner) : TComponent(owner) {}

    TField* AddField(const std::string& fieldName, const std::string& displayLabel = {});
    int FieldCount() const { return int(fields_.size()); }
    TField* Fields(int index) const;
    TField* FindField(const std::string& fieldName) const;
    // Raises EDatabaseError "Field '<name>' not found" when absent.
    TField* FieldByName(const std::string& fieldName) const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TField*> fields_;
};

class TDataSource : public TComponent {
    KRV_CLASS(TDataSource)
    explicit TDataSource(TComponent* owner) : TComponent(owner) {}

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
};

}  // namespace krv
