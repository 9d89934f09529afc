#include "platform/DB.h"

#include <algorithm>

namespace krv {

const TClassInfo& TField::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TField>("TField", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Str("FieldName", &TField::FieldName, &TField::SetFieldName)
                                       .Str("DisplayLabel", &TField::DisplayLabel,
                                            &TField::SetDisplayLabel)
                                       .Build();
    return info;
}

TDataSet* TField::DataSet() const { return dynamic_cast<TDataSet*>(Owner()); }

const TClassInfo& TDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDataSet>("TDataSet", TComponent::StaticClassInfo()).Build();
    return info;
}

TField* TDataSet::AddField(const std::string& fieldName, const std::string& displayLabel) {
    TField* field = Create<TField>(this);
    field->SetFieldName(fieldName);
    field->SetDisplayLabel(displayLabel);
    field->FreeNotification(this);
    fields_.push_back(field);
    return field;
}

TField* TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return fields_[size_t(index)];
}

TField* TDataSet::FindField(const std::string& fieldName) const {
    auto it = std::find_if(fields_.begin(), fields_.end(),
                           [&](const TField* f) { return SameText(f->FieldName(), fieldName); });
    return it == fields_.end() ? nullptr : *it;
}

TField* TDataSet::FieldByName(const std::string& fieldName) const {
    if (TField* field = FindField(fieldName)) return field;
    throw EDatabaseError("Field '" + fieldName + "' not found");
}

void TDataSet::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove) std::erase(fields_, component);
}

const TClassInfo& TDataSource::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDataSource>("TDataSource", TComponent::StaticClassInfo())
            .Creatable()
            .Object("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet)
            .Build();
    return info;
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet_ == dataSet) return;
    if (dataSet_) dataSet_->RemoveFreeNotification(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->FreeNotification(this);
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == dataSet_) dataSet_ = nullptr;
}

}  // namespace krv
