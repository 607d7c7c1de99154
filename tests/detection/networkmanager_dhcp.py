'''NetworkManager mock whose wired devices hold DHCPv4 configurations

Builds on python-dbusmock's networkmanager template, which has no DHCP4Config objects. The
parameter "devices" lists the wired devices in order, each a dictionary with "name" (interface),
"method" (ipv4.method of its profile), "active" (whether the profile is up on the device) and
"server" (the dhcp_server_identifier of its DHCPv4 configuration, or null for none). The
parameter "profiles" lists more profiles without a device: "id", "type", "method".
'''

import uuid

import dbus
import dbusmock
from dbusmock.templates import networkmanager as base
from dbusmock.templates.networkmanager import *  # noqa: F401,F403 (the template's methods)

DHCP4_IFACE = 'org.freedesktop.NetworkManager.DHCP4Config'


def profile(name, kind, method):
    ipv4 = {'method': method}
    if method == 'manual':
        ipv4['address-data'] = dbus.Array(
            [dbus.Dictionary({'address': '192.168.7.20', 'prefix': dbus.UInt32(24)},
                             signature='sv')], signature='a{sv}')
    return dbus.Dictionary({
        'connection': dbus.Dictionary({'id': name, 'uuid': str(uuid.uuid4()), 'type': kind},
                                      signature='sv'),
        'ipv4': dbus.Dictionary(ipv4, signature='sv'),
    }, signature='sa{sv}')


def deactivate_connection(self, active_path):
    # The stock template disconnects every device; NetworkManager only takes down the devices
    # of that active connection.
    for device in self.GetDevices():
        if dbusmock.get_object(device).Get(base.DEVICE_IFACE, 'ActiveConnection') == active_path:
            base.RemoveActiveConnection(self, device, active_path)


def load(mock, parameters):
    base.load(mock, {})
    manager = dbusmock.get_object(base.MANAGER_OBJ)
    manager.deactivate_connection = deactivate_connection
    settings = dbusmock.get_object(base.SETTINGS_OBJ)
    for index, device in enumerate(parameters.get('devices', [])):
        path = mock.AddEthernetDevice('dev%d' % index, device['name'], base.DeviceState.ACTIVATED)
        connection = settings.SettingsAddConnection(
            profile(device['name'], '802-3-ethernet', device['method']))
        if device.get('active'):
            base.activate_connection(manager, dbus.ObjectPath(connection), dbus.ObjectPath(path),
                                     dbus.ObjectPath('/'))
        config = '/'
        if device.get('server') is not None:
            config = '/org/freedesktop/NetworkManager/DHCP4Config/%d' % index
            mock.AddObject(config, DHCP4_IFACE, {
                'Options': dbus.Dictionary({'dhcp_server_identifier': device['server'],
                                            'dhcp_lease_time': '3600',
                                            'expiry': dbus.UInt64(1765000000)},
                                           signature='sv')}, [])
        dbusmock.get_object(path).AddProperty(base.DEVICE_IFACE, 'Dhcp4Config',
                                              dbus.ObjectPath(config))
    for extra in parameters.get('profiles', []):
        settings.SettingsAddConnection(profile(extra['id'], extra['type'], extra['method']))
