// The one application object of libNuclira3D.so.
#include "isotopes/Nuclira3D_App.h"

namespace
{
nuclira3d::CNuclira3D_App theApp;
}

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
