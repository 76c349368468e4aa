// A turn at the engine for the user-interface thread, which must never wait
// behind a running transform.
#pragma once

#include "app/EngineBusy.h"
#include "core/EngineGate.h"

#include "services/BuildVariant.h"

#include <optional>

class QWidget;

// EngineGate::tryTurn(), telling the user why nothing happens when the
// engine is busy.
std::optional<EngineGate::Pass> tryEngineTurnOrSay(QWidget* owner, const services::VariantTexts& variant);
