/*
 * XPLMPlugin: the one plug-in's identity (ID 1) and the simulator's features.
 */
#include <XPLMPlugin.h>

#include <cstring>

#include "platform.h"
#include "sim.h"

using simhost::Sim;

namespace {

constexpr XPLMPluginID the_plugin = 1;

Sim *with_plugin()
{
    Sim *sim = Sim::current();
    return sim && sim->plugin.loaded ? sim : nullptr;
}

void copy_out(char *out, const std::string &text)
{
    if (out == nullptr)
        return;
    strncpy(out, text.c_str(), 255);
    out[255] = '\0';
}

// The plug-in's path in the form it asked for with XPLM_USE_NATIVE_PATHS.
std::string plugin_path(Sim *sim)
{
    auto native = sim->features.find("XPLM_USE_NATIVE_PATHS");
    bool use_native = native != sim->features.end() && native->second;
    return use_native ? simhost::xplane_native_path(sim->plugin.path) : simhost::xplane_legacy_path(sim->plugin.path);
}

}  // namespace

XPLM_API XPLMPluginID XPLMGetMyID(void) { return with_plugin() ? the_plugin : XPLM_NO_PLUGIN_ID; }

XPLM_API int XPLMCountPlugins(void) { return with_plugin() ? 1 : 0; }

XPLM_API XPLMPluginID XPLMGetNthPlugin(int inIndex)
{
    return with_plugin() && inIndex == 0 ? the_plugin : XPLM_NO_PLUGIN_ID;
}

XPLM_API XPLMPluginID XPLMFindPluginByPath(const char *inPath)
{
    Sim *sim = with_plugin();
    return sim && inPath && plugin_path(sim) == inPath ? the_plugin : XPLM_NO_PLUGIN_ID;
}

XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char *inSignature)
{
    // The signature buffer is the one XPluginStart writes, so it matches from then on.
    Sim *sim = with_plugin();
    return sim && inSignature && sim->plugin.signature[0] != '\0' && strcmp(sim->plugin.signature, inSignature) == 0
               ? the_plugin
               : XPLM_NO_PLUGIN_ID;
}

XPLM_API void XPLMGetPluginInfo(XPLMPluginID inPlugin, char *outName, char *outFilePath, char *outSignature, char *outDescription)
{
    Sim *sim = with_plugin();
    if (sim == nullptr || inPlugin != the_plugin)
        return;
    copy_out(outName, sim->plugin.name);
    copy_out(outFilePath, plugin_path(sim));
    copy_out(outSignature, sim->plugin.signature);
    copy_out(outDescription, sim->plugin.description);
}

XPLM_API int XPLMIsPluginEnabled(XPLMPluginID inPluginID)
{
    Sim *sim = with_plugin();
    return sim && inPluginID == the_plugin && sim->plugin.enabled ? 1 : 0;
}

XPLM_API int XPLMHasFeature(const char *inFeature)
{
    Sim *sim = Sim::current();
    return sim && inFeature && sim->features.count(inFeature) ? 1 : 0;
}

XPLM_API int XPLMIsFeatureEnabled(const char *inFeature)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inFeature == nullptr)
        return 0;
    auto it = sim->features.find(inFeature);
    return it != sim->features.end() && it->second ? 1 : 0;
}

XPLM_API void XPLMEnableFeature(const char *inFeature, int inEnable)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inFeature == nullptr)
        return;
    auto it = sim->features.find(inFeature);
    if (it != sim->features.end())
        it->second = inEnable != 0;
}

XPLM_API void XPLMEnumerateFeatures(XPLMFeatureEnumerator_f inEnumerator, void *inRef)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inEnumerator == nullptr)
        return;
    for (const auto &feature : sim->features)
        inEnumerator(feature.first.c_str(), inRef);
}
