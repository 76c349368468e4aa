#include "core/EngineGate.h"

std::mutex& EngineGate::engine()
{
    static std::mutex gate;
    return gate;
}

EngineGate::Pass EngineGate::waitForTurn() { return Pass(std::unique_lock<std::mutex>(engine())); }

std::optional<EngineGate::Pass> EngineGate::tryTurn()
{
    std::unique_lock<std::mutex> lock(engine(), std::try_to_lock);
    if (!lock.owns_lock()) return std::nullopt;
    return Pass(std::move(lock));
}

int EngineGate::Pass::transformFile(const char* key, const char* source, const char* target, int direction,
                                    int layerChoice) const
{
    return tarvexTransformFile(key, source, target, direction, layerChoice);
}

void EngineGate::Pass::transformBuffer(const char* key, const unsigned char* source, int32_t length,
                                       unsigned char* target, int direction, int layerChoice, int firstPiece) const
{
    tarvexTransformBuffer(key, source, length, target, direction, layerChoice, firstPiece);
}

void EngineGate::Pass::setProgressCallback(TarvexProgressCallback callback) const
{
    tarvexSetProgressCallback(callback);
}
