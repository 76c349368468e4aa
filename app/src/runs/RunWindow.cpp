#include "app/RunWindow.h"

#include "framework/PathText.h"

namespace {

using services::toQString;

class WindowHost : public RunHost {
public:
    WindowHost(RunWindow& window, const services::VariantTexts& variant) : window_(window), variant_(variant) {}

    void startFile(int, const std::string& source) override
    {
        window_.showCaption(toQString(variant_.processingCaption).replace("%s", framework::displayPath(source)));
    }
    void showProgress(int percent) override { window_.showProgress(percent); }
    int askOverwrite(const std::string& question) override { return window_.askOverwrite(toQString(question)); }
    bool goOnWithoutRecoveryList(const std::string& question) override
    {
        return window_.goOnWithoutRecoveryList(toQString(question));
    }
    void runEnded(const std::vector<FileFailure>& failures) override
    {
        window_.showCaption(toQString(variant_.programTitle));
        if (!failures.empty()) window_.reportFailures(toQString(failureReport(failures, variant_)));
    }

private:
    RunWindow& window_;
    const services::VariantTexts& variant_;
};

}  // namespace

void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant,
                  RunWindow& window)
{
    WindowHost host(window, variant);
    processFiles(request, records, variant, static_cast<RunHost&>(host));
}
