// The base of fixtures that read or write data files: a clean engine state, an empty assets
// folder of its own, and every diagnostic collected instead of printed.
#pragma once

#include "support/asset_folder.h"
#include "support/engine_test.h"

namespace testing_support {

class DataFileTest : public EngineTest {
protected:
    TempAssets assets;
    CapturedDiagnostics diagnostics;
};

}  // namespace testing_support
