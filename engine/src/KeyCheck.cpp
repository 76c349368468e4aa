#include "KeyCheck.h"

#include "ChunkPipeline.h"
#include "Progress.h"
#include "SecureWipe.h"
#include "WindowRecordFormat.h"

namespace tarvex {

namespace {

// The probe's transform is no part of the run's progress.
class ProgressMuted {
public:
    ProgressMuted() : callback_(progressCallback), variable_(progressVariable), total_(progressTotal)
    {
        progressCallback = nullptr;
        progressVariable = nullptr;
    }
    ~ProgressMuted()
    {
        progressCallback = callback_;
        progressVariable = variable_;
        progressTotal = total_;
    }
    ProgressMuted(const ProgressMuted&) = delete;
    ProgressMuted& operator=(const ProgressMuted&) = delete;

private:
    TarvexProgressCallback callback_;
    int32_t* variable_;
    float total_;
};

}  // namespace

uint64_t keyCheckOf(const char* key, int layerChoice)
{
    const ProgressMuted muted;
    unsigned char probe[windowrecord::kKeyProbeSize];
    windowrecord::keyProbe(probe);
    {
        const KeyMaterial keyMaterial(key, layerChoice);
        ChunkPipeline pipeline(keyMaterial, sizeof probe, TARVEX_ENCRYPT, layerChoice, 1);
        pipeline.transform(probe, sizeof probe);
    }
    const uint64_t check = windowrecord::keyCheck(probe);
    secureWipe(probe, sizeof probe);
    return check;
}

}  // namespace tarvex
