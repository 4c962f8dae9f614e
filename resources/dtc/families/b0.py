# Generic body codes B0000-B0FFF: restraint deployment loops and occupant classification.
for first, (en, pl) in (("B0001", ("Driver Frontal", "poduszki czołowej kierowcy")),
                        ("B0010", ("Passenger Frontal", "poduszki czołowej pasażera"))):
    F.seq(first, [("%s Stage %d Deployment Control" % (en, n), "Sterowanie zapłonem %s - stopień %d" % (pl, n))
                  for n in (1, 2)])
F.one("B0020", "Left Side Airbag Deployment Control", "Sterowanie zapłonem lewej bocznej poduszki powietrznej")
F.one("B0021", "Left Curtain Airbag Deployment Control", "Sterowanie zapłonem lewej kurtyny powietrznej")
F.one("B0028", "Right Side Airbag Deployment Control", "Sterowanie zapłonem prawej bocznej poduszki powietrznej")
F.one("B0029", "Right Curtain Airbag Deployment Control", "Sterowanie zapłonem prawej kurtyny powietrznej")
F.one("B0051", "Restraint Deployment Commanded", "Wydano polecenie zapłonu poduszek powietrznych")
F.one("B0053", "Restraint Deployment Commanded with Loop Faults Present",
      "Wydano polecenie zapłonu poduszek przy usterkach obwodów zapłonników")
F.one("B0081", "Passenger Presence/Occupant Classification System",
      "Układ wykrywania obecności/klasyfikacji pasażera - usterka")
