# Generic powertrain codes P3400 and above (cylinder deactivation); P3400-P3496 are written by hand.
F.one("P3497", "Cylinder Deactivation System (Bank 2)", "Układ odłączania cylindrów - usterka (rząd 2)")
