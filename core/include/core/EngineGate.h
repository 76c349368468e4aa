// The one way into the engine. The engine keeps its working state for the
// whole process, so no two calls may overlap: every call of the programs goes
// through a pass of this gate, and only one pass exists at a time.
#pragma once

#include "tarvex.h"

#include <mutex>
#include <optional>

class EngineGate {
public:
    // Holding a pass is the right to call the engine.
    class Pass {
    public:
        int transformFile(const char* key, const char* source, const char* target, int direction,
                          int layerChoice) const;
        void transformBuffer(const char* key, const unsigned char* source, int32_t length, unsigned char* target,
                             int direction, int layerChoice, int firstPiece) const;
        void setProgressCallback(TarvexProgressCallback callback) const;

    private:
        friend class EngineGate;
        explicit Pass(std::unique_lock<std::mutex> lock) : lock_(std::move(lock)) {}
        std::unique_lock<std::mutex> lock_;
    };

    // For a worker: waits until the engine is free.
    static Pass waitForTurn();
    // For the user-interface thread, which must never wait behind a running
    // transform: nothing while another pass is held.
    static std::optional<Pass> tryTurn();

private:
    static std::mutex& engine();
};
