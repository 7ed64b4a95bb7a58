// The one application object of libTrakor3D.so.
#include "tracks/Trakor3D_App.h"

namespace
{
trakor3d::CTrakor3D_App theApp;
}

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
