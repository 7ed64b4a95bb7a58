// Tracks, particle clouds and emitters read for a script by the plug-ins' own readers, flattened
// into columns: one entry per point, particle or emitter, in the order the readers keep them.
#pragma once
#include <string>
#include <vector>

namespace tessaron
{
// What every reader reports beside its data.
struct CReadStatus
{
    bool m_Ok = false;
    std::string m_Error;
    std::vector<std::string> m_Warnings;
};

struct CTrackColumns : CReadStatus
{
    std::vector<double> m_Points;        // x y z per point
    std::vector<double> m_Times;         // s
    std::vector<long long> m_Offsets{0}; // track i is points m_Offsets[i] .. m_Offsets[i + 1]
    std::vector<int> m_Types, m_Groups;  // per track; a group indexes m_GroupBounds
    std::vector<double> m_Energies;      // GeV per track
    std::vector<double> m_GroupBounds;   // lower, upper per energy group (GeV)
    std::vector<std::string> m_GroupLabels;
};

struct CParticleColumns : CReadStatus
{
    std::string m_Format;
    std::vector<double> m_Positions, m_Directions; // three per particle
    std::vector<double> m_Energies, m_Weights, m_Times;
    std::vector<int> m_Types;
    double m_MeVPerEnergyUnit = 1000;
    std::vector<std::string> m_Notes;
};

struct CEmitterColumns : CReadStatus
{
    std::string m_Format;
    std::vector<double> m_Positions; // three per emitter
    std::vector<double> m_Weights;
    std::vector<int> m_Z, m_A;
    std::vector<std::string> m_CoolingTimes; // an isodump's labels; the chosen one is read
    int m_CoolingTime = 0;                   // from 0; -1 when the file has none
};

CTrackColumns ReadTracks(const std::string& path);
CParticleColumns ReadParticles(const std::string& path);
// coolingTime counts from 0 among the isodump's cooling times.
CEmitterColumns ReadEmitters(const std::string& path, int coolingTime);
} // namespace tessaron
