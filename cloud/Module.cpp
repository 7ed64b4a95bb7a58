// The one application object of libNebulo3D.so.
#include "cloud/Nebulo3D_App.h"

namespace
{
nebulo3d::CNebulo3D_App theApp;
}

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
