// The colour options the Color Options panel sends for a job: the panel
// restored from print settings that hold the job's options (as a user's
// saved choices arrive), saved, and prepared by the print hook; and the
// jobs other dialogs send, each with the basic choices it stands for.
#pragma once

#include "colormodel/ColorOptionTable.h"
#include "colormodel/JobColorOptions.h"
#include "platform/HostProtocol.h"
#include "platform/PrintSession.h"
#include "platform/PrintSettings.h"
#include "plugin/frame/PDEPlugIn.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "plugin/options/PDEControlItem.h"

#include <cups/ppd.h>
#include <memory>
#include <ostream>
#include <string>

namespace testsupport {

inline std::string envText(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The PPD the build generates (the bundled copy).
inline std::string generatedPpd() { return envText("RX_BUNDLE_DIR") + "/Resources/rx8240.ppd"; }

class PpdHost : public rx::PDEHostCallback {
public:
    explicit PpdHost(const std::string& path) : ppd_(ppdOpenFile(path.c_str())), session_(rx::Printer{"rx8240", ""}) {}
    ~PpdHost() override { ppdClose(ppd_); }
    rx::PrintSettings* printSettings() override { return &settings; }
    rx::PrintSession* printSession() override { return &session_; }
    ppd_file_t* ppdFile() override { return ppd_; }
    rx::PrintSettings settings;

private:
    ppd_file_t* ppd_;
    rx::PrintSession session_;
};

// The colour options among the job options the panel gives the host after
// restore, save and the print hook, with `job` as the user's saved choices.
inline colormodel::OptionValues panelJobOptions(const std::string& ppdPath, const colormodel::OptionValues& job)
{
    PpdHost host(ppdPath);
    auto model = plist::Dictionary::create();
    for (const auto& [key, value] : job)
        model->set(key, plist::Value(value));
    auto product = plist::Dictionary::create();
    product->set("rx8240", plist::Value(model));
    host.settings.setValue("rx8240", plist::Value(product));

    pde::PDEPlugIn factory;
    factory.initWithBundle(QString::fromStdString(envText("RX_BUNDLE_DIR")));
    auto panels = factory.PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), &host);
    colormodel::OptionValues out;
    if (!panels || panels->size() != 1)
        return out;
    rx::PDEPanel* panel = panels->front().get();
    panel->restoreValuesAndReturnError(nullptr);
    panel->saveValuesAndReturnError(nullptr);
    panel->shouldPrint();
    for (const auto& [key, value] : host.settings.stringEntries())
        if (colormodel::findColorOption(key))
            out[key] = value;
    return out;
}

// A job as a dialog without the panel sends it: PPD options only.
struct DialogJob {
    const char* name;
    colormodel::OptionValues options;
};

// Photo's advanced values, as a user's defaults saved under Photo hold them.
inline colormodel::OptionValues photoLeftovers(const char* quickColor)
{
    return {{"QVQuickColor", quickColor},
            {"QVImageRenderIntent", "Saturation"}, {"QVImageGrayTreatment", "Composite"},
            {"QVImageHalftone", "Stochastic"},     {"QVImageEdgeEnhance", "On"},
            {"QVTextHalftone", "Stochastic"},       {"QVGraphicsHalftone", "Stochastic"},
            {"QVTextRenderIntent", "Saturation"},   {"QVTextGrayTreatment", "Composite"},
            {"QVTextEdgeEnhance", "On"},            {"QVGraphicsRenderIntent", "Saturation"},
            {"QVGraphicsGrayTreatment", "Composite"}, {"QVGraphicsEdgeEnhance", "On"}};
}

inline const std::vector<DialogJob>& dialogJobs()
{
    static const std::vector<DialogJob> jobs = {
        {"nothing at all", {}},
        {"Photo alone", {{"QVQuickColor", "Photo"}}},
        {"Standard with Photo's leftovers", photoLeftovers("Standard")},
        {"Vivid with Photo's leftovers and EconoMode",
         [] {
             auto o = photoLeftovers("Vivid");
             o["QVEconoMode"] = "True";
             return o;
         }()},
        {"grayscale and colour separation", {{"QVColorAsGray", "True"}, {"QVColorSeparation", "True"}}},
        {"glossy and EconoMode", {{"QVGlossyMode", "True"}, {"QVEconoMode", "True"}}},
        {"glossy and grayscale", {{"QVGlossyMode", "True"}, {"QVColorAsGray", "True"}}},
        {"glossy, EconoMode and grayscale",
         {{"QVGlossyMode", "True"}, {"QVEconoMode", "True"}, {"QVColorAsGray", "true"}}},
        {"Photo, EconoMode and glossy", {{"QVQuickColor", "Photo"}, {"QVEconoMode", "True"}, {"QVGlossyMode", "True"}}},
        {"Photo and EconoMode", {{"QVQuickColor", "Photo"}, {"QVEconoMode", "TRUE"}}},
        {"Custom keeps the advanced choices",
         {{"QVQuickColor", "UserDefined"}, {"QVImageHalftone", "Detail"}, {"QVSimSource", "SWOP"},
          {"QVEconoMode", "True"}, {"QVTextEdgeEnhance", "On"}}},
        {"choices the PPD does not offer",
         {{"QVQuickColor", "photo"}, {"QVBrightness", "Brightest"}, {"QVColorAsGray", "yes"}}},
    };
    return jobs;
}

}  // namespace testsupport

namespace colormodel {
inline void PrintTo(const OptionValues& values, std::ostream* os)
{
    for (const auto& [k, v] : values)
        *os << "\n  " << k << "=" << v;
}
}  // namespace colormodel
