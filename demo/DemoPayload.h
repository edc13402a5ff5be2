// Resource ids of the programs the demo setup package carries.
#pragma once
#define kPayloadProduct 201
#define kPayloadUninstaller 202
