#include "common/ParticleNames.h"

namespace particles
{
namespace
{
const char* const Names[NrParticleTypes] = {
    "",                   "Proton",              "Antiproton",         "Electron",
    "Positron",           "Electron_Neutrino",   "Electron_Antineutrino", "Photon",
    "Neutron",            "Antineutron",         "Positive_Muon",      "Negative_Muon",
    "Kaon_zero_long",     "Positive_Pion",       "Negative_Pion",      "Positive_Kaon",
    "Negative_Kaon",      "Lambda",              "Antilambda",         "Kaon_zero_short",
    "Negative_Sigma",     "Positive_Sigma",      "Sigma_zero",         "Pion_zero",
    "Kaon zero",          "Antikaon_zero",       "---",                "Muon_neutrino",
    "Muon_antineutrino",  "---",                 "---",                "Antisigma_minus",
    "Antisigma_zero",     "Antisigma_plus",      "Xi_zero",            "AntiXi_zero",
    "Negative_Xi",        "Positive_Xi",         "Omega_minus",        "Antiomega",
    "---",                "Positive_Tau",        "Negative_Tau",       "Tau_neutrino",
    "Tau_antineutrino",   "D_plus",              "D_minus",            "D_zero",
    "AntiD_zero",         "D_s_plus",            "D_s_minus",          "Lambda_c_plus",
    "Xi_c_plus",          "Xi_c_zero",           "Xi_c_plus",          "Xi_c_zero",
    "Omega_c_zero",       "Antilambda_c_minus",  "AntiXi_c_minus",     "AntiXi_c_zero",
    "AntiXi_bar_c_minus", "AntiXi_bar_c_zero",   "AntiOmega_c_zero",   "---",
    "---",                "Optical photon",      "HEAVYION",           "DEUTERON",
    "TRITON",             "3_HELIUM",            "4_HELIUM",
};
} // namespace

const char* ParticleName(int type) { return IsValidType(type) ? Names[type] : nullptr; }
} // namespace particles
