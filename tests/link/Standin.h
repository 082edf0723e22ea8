#pragma once
// The test's own hold on the stand-in library: the same loaded copy the backend uses,
// reached through its extra exports.
#include "link/DynamicLibrary.h"
#include "standin/StandinControl.h"

#include <memory>
#include <string>

namespace rtw::test {

struct Standin {
    std::unique_ptr<link::DynamicLibrary> library;
    StandinResetFn reset = nullptr;
    StandinDeliverFn deliver = nullptr;
    StandinTakeFn take = nullptr;
    StandinCallsFn calls = nullptr;
    StandinSetTypeFn setType = nullptr;

    explicit Standin(const std::string& path) : library(link::DynamicLibrary::open(path)) {
        if (library) {
            reset = reinterpret_cast<StandinResetFn>(library->symbol("standinReset"));
            deliver = reinterpret_cast<StandinDeliverFn>(library->symbol("standinDeliver"));
            take = reinterpret_cast<StandinTakeFn>(library->symbol("standinTake"));
            calls = reinterpret_cast<StandinCallsFn>(library->symbol("standinCalls"));
            setType = reinterpret_cast<StandinSetTypeFn>(library->symbol("standinSetType"));
        }
    }
    [[nodiscard]] bool ready() const {
        return reset != nullptr && deliver != nullptr && take != nullptr && calls != nullptr &&
               setType != nullptr;
    }
};

} // namespace rtw::test
