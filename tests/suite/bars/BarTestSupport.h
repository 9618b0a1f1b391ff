#pragma once
// A form with a bar manager, and items made on it, for the bar tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"

struct TBarFixture : ::testing::Test {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());

  template <class T>
  T* NewItem(const std::string& Caption = {}) {
    auto* item = new T(Form.get());
    item->SetCaption(Caption);
    return item;
  }
};
