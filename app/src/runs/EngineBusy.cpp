#include "app/EngineBusy.h"

#include "framework/Modal.h"

std::optional<EngineGate::Pass> tryEngineTurnOrSay(QWidget* owner, const services::VariantTexts& variant)
{
    auto pass = EngineGate::tryTurn();
    if (!pass) {
        framework::showMessage(owner,
                               {services::toQString(variant.engineBusy), services::toQString(variant.programTitle),
                                framework::MessageIcon::Exclamation, framework::MessageButtons::Ok});
    }
    return pass;
}
