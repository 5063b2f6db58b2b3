// Nothing to do: its start tells the driver that the extension is loaded.
