' The connect text of the pages. A server given as host:port gets its port= part; a value
' holding ";", "{" or "}", or blanks at either end, is enclosed in braces so it stays one value.
Function KaveroConnectValue(value)
  If InStr(value, ";") > 0 Or InStr(value, "{") > 0 Or InStr(value, "}") > 0 Or _
     Left(value, 1) = " " Or Right(value, 1) = " " Then
    KaveroConnectValue = "{" & Replace(value, "}", "}}") & "}"
  Else
    KaveroConnectValue = value
  End If
End Function

Function KaveroAllDigits(text)
  Dim i
  KaveroAllDigits = Len(text) > 0
  For i = 1 To Len(text)
    If InStr("0123456789", Mid(text, i, 1)) = 0 Then KaveroAllDigits = False
  Next
End Function

Function KaveroConnectText(server, database, user, password)
  Dim colon, host, port
  host = server
  port = ""
  colon = InStrRev(server, ":")
  If colon > 1 And colon = InStr(server, ":") Then
    If KaveroAllDigits(Mid(server, colon + 1)) Then
      host = Left(server, colon - 1)
      port = ";port=" & Mid(server, colon + 1)
    End If
  End If
  KaveroConnectText = "driver={MySql};server=" & KaveroConnectValue(host) & port & _
    ";database=" & KaveroConnectValue(database) & ";uid=" & KaveroConnectValue(user) & _
    ";pwd=" & KaveroConnectValue(password) & ";charset=utf8mb4"
End Function

' The result text of one step, from the error number and description taken right after it.
Function KaveroResult(number, description)
  If number = 0 Then
    KaveroResult = "<b>Success !</b>"
  Else
    KaveroResult = "Error Number= #<b>" & number & "</b><br>" & _
      "Error Desc.= <b>" & Server.HTMLEncode(description) & "</b><br>"
  End If
End Function

' One table row of a step: the statement and its result, on the given background.
Sub KaveroResultRow(colour, statement, number, description)
  Response.Write "<tr style=""background-color: " & colour & """><td>" & Server.HTMLEncode(statement) & _
    "</td><td>" & KaveroResult(number, description) & "</td></tr>" & vbCrLf
End Sub
