#include "uiresourcechangehandler.h"

#include <terminalhost/uiresource.h>

CUiResourceChangeHandler::CUiResourceChangeHandler()
{
    CUiResource::instance()->addChangeHandler(this);
}

CUiResourceChangeHandler::~CUiResourceChangeHandler()
{
    CUiResource::instance()->removeChangeHandler(this);
}

void CUiResourceChangeHandler::themeChanged()
{
}
