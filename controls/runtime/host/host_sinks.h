#pragma once
// The small COM objects of our container: the event sink and property-notify
// sink of a site, and the in-place frame of a form.
#include <ocidl.h>

#include "com_ptr.h"

namespace lumio::host {

class Form;
class Site;

ComPtr<IDispatch> CreateEventSink(Form* form, Site* site, REFIID events_iid);
ComPtr<IPropertyNotifySink> CreateNotifySink(Form* form, Site* site);
ComPtr<IOleInPlaceFrame> CreateFrame(Form* form);

}  // namespace lumio::host
