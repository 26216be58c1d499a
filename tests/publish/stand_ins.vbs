' The ASP objects a page uses, for running the page as a script under cscript. The connection
' hands each call to the test process through files in a spool folder; the test process runs it
' on the server with the page's own connect text and answers with the server's error, if any,
' which is raised into Err as the real connection raises it.
Dim KaveroFiles, KaveroSerial, KaveroSpool, KaveroForm, KaveroQuery, Request, Response, Server, StrArray
Set KaveroFiles = CreateObject("Scripting.FileSystemObject")
Set KaveroForm = CreateObject("Scripting.Dictionary")
Set KaveroQuery = CreateObject("Scripting.Dictionary")
KaveroForm.CompareMode = 1
KaveroQuery.CompareMode = 1
KaveroSerial = 0
Set Request = New KaveroRequest
Set Response = New KaveroResponse
Set Server = New KaveroServer

' A request is "kind" LF text; the answer is the error number LF its description LF the result.
Function KaveroCall(kind, text)
  Dim name, stream, answer, first, second
  KaveroSerial = KaveroSerial + 1
  name = KaveroSpool & KaveroSerial
  Set stream = KaveroFiles.CreateTextFile(name & ".tmp", True, True)
  stream.Write kind & vbLf & text
  stream.Close
  KaveroFiles.MoveFile name & ".tmp", name & ".req"
  ' Wine's WScript.Sleep is a stub, so the wait is a busy one; the answer comes within milliseconds.
  Do Until KaveroFiles.FileExists(name & ".res")
  Loop
  Set stream = KaveroFiles.OpenTextFile(name & ".res", 1, False, -1)
  answer = stream.ReadAll
  stream.Close
  first = InStr(answer, vbLf)
  second = InStr(first + 1, answer, vbLf)
  If CLng(Left(answer, first - 1)) <> 0 Then
    Err.Raise CLng(Left(answer, first - 1)), "KAVERO test server", Mid(answer, first + 1, second - first - 1)
  End If
  KaveroCall = Mid(answer, second + 1)
End Function

Class KaveroRequest
  Public Function Form(name)
    If KaveroForm.Exists(name) Then Form = KaveroForm(name)
  End Function
  Public Function QueryString(name)
    If KaveroQuery.Exists(name) Then QueryString = KaveroQuery(name)
  End Function
End Class

Class KaveroResponse
  Public Buffer
  Public CharSet
  Private stream
  Public Sub Start(path)
    Set stream = KaveroFiles.CreateTextFile(path, True, True)
  End Sub
  Public Sub Write(text)
    stream.Write "" & text
  End Sub
  Public Sub Flush()
  End Sub
  Public Sub Finish(marker)
    stream.Write marker
    stream.Close
  End Sub
End Class

Class KaveroServer
  Public Function CreateObject(kind)
    If LCase(kind) <> "adodb.connection" Then Err.Raise 429, "Server", "Cannot create " & kind
    Set CreateObject = New KaveroConnection
  End Function
  Public Function HTMLEncode(text)
    HTMLEncode = Replace(Replace(Replace(Replace("" & text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;"), """", "&quot;")
  End Function
  ' Wine's engine lacks AscW, so the test process encodes the UTF-8 bytes.
  Public Function URLEncode(text)
    URLEncode = KaveroCall("urlencode", "" & text)
  End Function
End Class

Class KaveroConnection
  Public Sub Open(text)
    KaveroCall "open", text
  End Sub
  Public Function Execute(statement)
    Dim records
    Set records = New KaveroRecordset
    records.Load KaveroCall("execute", statement)
    Set Execute = records
  End Function
  Public Sub Close()
    KaveroCall "close", ""
  End Sub
End Class

' The result of a query: cells as length:text (-1: for Null); the column count, the column
' names, then the values row by row.
Class KaveroRecordset
  Private cells
  Private columns
  Private width
  Private row
  Private rows
  Public EOF
  Public Sub Load(text)
    Dim at, colon, size, i
    Set cells = CreateObject("Scripting.Dictionary")
    Set columns = CreateObject("Scripting.Dictionary")
    columns.CompareMode = 1
    at = 1
    Do While at <= Len(text)
      colon = InStr(at, text, ":")
      size = CLng(Mid(text, at, colon - at))
      If size < 0 Then
        cells.Add cells.Count, Null
        at = colon + 1
      Else
        cells.Add cells.Count, Mid(text, colon + 1, size)
        at = colon + 1 + size
      End If
    Loop
    EOF = True
    If cells.Count = 0 Then Exit Sub
    width = CLng(cells(0))
    For i = 1 To width
      columns.Add cells(i), i
    Next
    rows = (cells.Count - 1) \ width - 1
    row = 0
    EOF = rows = 0
  End Sub
  Public Default Function Item(name)
    If Not columns.Exists(name) Then Err.Raise 3265, "Recordset", "Item cannot be found: " & name
    Item = cells(width * (row + 1) + columns(name))
  End Function
  Public Sub MoveNext()
    row = row + 1
    EOF = row >= rows
  End Sub
  Public Sub Close()
  End Sub
End Class
