// The link that carries a calculation's inputs:
// ?date=17.05.1990&time=14:30&place=Тарту (or lat=58.38&lon=26.72)
// [&utc_offset=+04:00 | &zone=Europe/Tallinn]&sex=male[&lunar_day=7].
// The core reads it (parseLink) with the command line's rules and messages;
// the page only writes it.
export async function linkOfRequest(request, picked, core) {
    const text = (name) => String(request[name] ?? '').trim();
    const parameters = new URLSearchParams();
    parameters.set('date', text('date'));
    if (text('time'))
        parameters.set('time', text('time'));
    // A place by name only when its name finds it first; otherwise by its
    // coordinates, which always find it.
    let byName = false;
    if (picked?.name) {
        const first = (await core.call('searchPlaces', picked.name, 1).catch(() => []))[0];
        byName = first && first.latitude === picked.latitude && first.longitude === picked.longitude;
    } else if (request.place && !text('latitude')) {
        byName = true;
    }
    if (byName) {
        parameters.set('place', picked?.name ?? request.place);
    } else {
        parameters.set('lat', text('latitude').replace(',', '.'));
        parameters.set('lon', text('longitude').replace(',', '.'));
    }
    if (text('utc_offset'))
        parameters.set('utc_offset', text('utc_offset'));
    else if (text('zone_name') && !picked)
        parameters.set('zone', text('zone_name'));
    else if (picked?.zone && !byName)
        parameters.set('zone', picked.zone); // the place's own zone, said outright
    parameters.set('sex', request.sex === 'female' ? 'female' : 'male');
    if (text('lunar_day'))
        parameters.set('lunar_day', text('lunar_day'));
    return `?${parameters}`;
}
