#include "sdk/framework/app_scoped_object.h"

#include "sdk/framework/app_manager.h"

CAppScopedObject::CAppScopedObject() { CAppManager::SetScopedObject(this); }

CAppScopedObject::~CAppScopedObject() { CAppManager::ClearScopedObject(this); }
