// A form to put controls on, freed after each test, and a user driver to act on them as a
// person does. Tests that need the form on screen show it in their own SetUp.
#pragma once

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/UserDriver.h"

namespace krv {

struct FormFixture : ::testing::Test {
    void SetUp() override {
        user.Reset();
        form = Create<TForm>(nullptr);
    }
    void TearDown() override { form->Free(); }
    // A control owned by the form, placed on the parent (the form itself by default).
    template <class T>
    T* Make(TWinControl* parent = nullptr) {
        T* control = Create<T>(form);
        control->SetParent(parent ? parent : form);
        return control;
    }
    TUserDriver user;
    TForm* form = nullptr;
};

// The same on a form that is already shown.
struct ShownFormFixture : FormFixture {
    void SetUp() override {
        FormFixture::SetUp();
        form->Show();
    }
};

}  // namespace krv
