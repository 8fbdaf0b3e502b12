// Whether a service is registered at all. An earlier run that aborted may
// have removed a service whose file it did not get to remove; such a file
// leaves only its shortcuts to remove, not a service that cannot be stopped.
#pragma once

// False only when the service control manager says there is no such
// service; any other failure counts as present, so the stop is still tried
// and reports it.
bool ServiceRegistered(const char* service_name);
